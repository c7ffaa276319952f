#include <orvo_ui/offscreen.hpp>
#include <orvo_ui/painter.hpp>
#include <orvo_ui/text.hpp>

#include <charconv>
#include <cstdio>
#include <limits>

#include "files_app/app_id.hpp"
#include "i18n/i18n.hpp"
#include "main/app_main.hpp"

#include <thumbnail/service.hpp>

namespace files::startup {

namespace {

std::optional<std::uint32_t> parse_u32(std::string_view s) {
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; };
    while (!s.empty() && space(s.front())) s.remove_prefix(1);
    while (!s.empty() && space(s.back())) s.remove_suffix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty() || s.front() == '+' || s.front() == '-') return std::nullopt;
    std::uint32_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

// The setup a scenario makes before layout, for the scenarios the window supports so far.
void apply_setup(app::FileExplorerWidget& w, const std::string& scenario, orvo_ui::Instant now) {
    auto& l = w.listing_mut();
    auto hold_bubble = [&] {
        w.set_screenshot_hold(true);
        w.poke_status_bubble(now);
    };
    if (scenario == "grid") {
        w.set_view_mode(app::ViewMode::Grid);
    } else if (scenario == "loading") {
        l.entries.clear();
        l.load_error.reset();
        w.clear_status();
        l.loading = true;
    } else if (scenario == "error") {
        l.entries.clear();
        l.loading = false;
        w.clear_status();
        l.load_error =
            i18n::tr_args("files-directory-read-failed", i18n::MessageArgs().set("error", "Permission denied"));
    } else if (scenario == "select") {
        if (l.entries.size() > 8) {
            w.selection_mut().apply_click(7, false, false);
            w.selection_mut().apply_click(8, true, false);
        }
        hold_bubble();
    } else if (scenario == "status") {
        hold_bubble();
    } else if (scenario == "rename") {
        if (l.entries.size() > 3) {
            w.selection_mut().select_only(3);
            w.execute_command(app::cmd::BeginRename{});
        }
    }
}

}  // namespace

std::optional<orvo_ui::Size> parse_frame_size(std::string_view text) {
    size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return std::nullopt;
    auto w = parse_u32(text.substr(0, x));
    auto h = parse_u32(text.substr(x + 1));
    if (!w || !h) return std::nullopt;
    return orvo_ui::Size{float(*w), float(*h)};
}

std::expected<void, LaunchError> render_shot(const LaunchArgs& args) {
    if (!args.shot_output()) return std::unexpected(LaunchError{"no screenshot output path was given"});
    const auto out = *args.shot_output();

    orvo_ui::Size size{1200, 720};
    if (auto v = args.value("--size"); v && parse_frame_size(*v)) size = *parse_frame_size(*v);
    else if (args.launcher_size()) size = *args.launcher_size();
    // A zero side would make no picture at all; keep it at least one pixel.
    int width = std::max(1, int(size.width)), height = std::max(1, int(size.height));

    std::optional<std::filesystem::path> folder;
    if (auto p = args.value("--path")) folder = std::filesystem::path(*p);

    auto root = app::FileExplorerWidget::create(app::StartupMode::Screenshot);
    if (folder) root->navigate_to(*folder);
    std::string scenario = args.scenario().value_or("");
    apply_setup(*root, scenario, orvo_ui::Clock::now());

    orvo_ui::Theme theme = orvo_ui::launch::shot_theme();
    orvo_ui::TextRenderer text;
    text.set_text_scale(theme.text_scale);
    orvo_ui::Rect viewport{0, 0, float(width), float(height)};
    orvo_ui::FrameContext frame{orvo_ui::Clock::now(), theme, text, {}, nullptr};

    orvo_ui::OffscreenRenderer renderer(width, height);
    // The first draw settles the geometry that hit tests use and asks for the visible thumbnails;
    // its pixels are not kept, so it goes to a one-pixel surface.
    orvo_ui::OffscreenRenderer probe(1, 1);
    auto first = probe.render_resilient(text, [&](orvo_ui::Painter& p) {
        orvo_ui::run_frame(*root, p, viewport, frame, 1.0f);
    });
    if (!first) return std::unexpected(LaunchError{first.error()});
    if (scenario == "select") {
        orvo_ui::EventContext ectx{theme, text, orvo_ui::Clock::now(), 1.0f, viewport};
        root->handle_event(orvo_ui::PointerMove{{0.35f * float(width), 560}, {}}, ectx);
    }
    // The first frame asked for the visible thumbnails; a picture is only repeatable once they are in.
    if (auto* thumbs = root->thumbnails()) thumbs->block_until_idle(std::chrono::seconds(20));
    auto image = renderer.render_resilient(text, [&](orvo_ui::Painter& p) {
        orvo_ui::run_frame(*root, p, viewport, frame, 1.0f);
    });
    if (!image) return std::unexpected(LaunchError{image.error()});
    auto png = orvo_ui::encode_png(*image);
    if (!png) return std::unexpected(LaunchError{png.error()});
    if (auto ok = orvo_ui::publish_atomically(out, *png); !ok) return std::unexpected(LaunchError{ok.error()});
    if (args.observe_output())
        if (auto ok = orvo_ui::launch::write_observer_snapshot(*root, *args.observe_output()); !ok)
            return std::unexpected(LaunchError{ok.error()});
    std::printf("%s: wrote shot to %s\n", std::string(app::kAppName).c_str(), out.c_str());
    std::fflush(stdout);
    return {};
}

}  // namespace files::startup

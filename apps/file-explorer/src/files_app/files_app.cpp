#include "files_app/files_app.hpp"

#include <orvo_ui/icons.hpp>
#include <orvo_ui/painter.hpp>

#include <spdlog/spdlog.h>

#include <sys/stat.h>

#include <fstream>

#include "i18n/i18n.hpp"
#include "model/utf8.hpp"
#include "native_observer/observer.hpp"
#include "places_sidebar/places_sidebar.hpp"
#include "views/file_view.hpp"

namespace files::app {

using namespace orvo_ui;

namespace {

// "…" and the last n − 1 characters when the text is longer than n characters.
std::string shorten_path(const std::string& text, size_t n) {
    auto is_lead = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; };
    size_t count = size_t(std::count_if(text.begin(), text.end(), is_lead));
    if (count <= n || n == 0) return text;
    size_t keep = n - 1, pos = text.size();
    while (keep > 0 && pos > 0)
        if (is_lead(text[--pos])) --keep;
    return "…" + text.substr(pos);
}

class HeaderBar final : public Widget {
public:
    HeaderBar(std::string title, std::string path) : title_(std::move(title)), path_(std::move(path)) {}
    Size measure(Size available, LayoutContext& ctx) override {
        return {available.width, 18 + ctx.text.line_height({18, FontWeight::SemiBold}) +
                                     ctx.text.line_height({12, FontWeight::Regular}) + 10};
    }
    void draw(Painter& p, DrawContext& ctx) override {
        const TextRenderer& tr = p.text_renderer();
        float th = tr.line_height({18, FontWeight::SemiBold});
        float ph = tr.line_height({12, FontWeight::Regular});
        Rect t{bounds_.left + 20, bounds_.top + 14, bounds_.right - 20, bounds_.top + 14 + th};
        p.text(title_, t, {18, FontWeight::SemiBold}, ctx.theme.text, HAlign::Left);
        Rect pr{t.left, t.bottom + 2, t.right, t.bottom + 2 + ph};
        p.text(tr.fit_ellipsis_start(path_, {12, FontWeight::Regular}, pr.width()), pr, {12, FontWeight::Regular},
               ctx.theme.text_muted, HAlign::Left);
        p.line({bounds_.left, bounds_.bottom - 0.5f}, {bounds_.right, bounds_.bottom - 0.5f}, ctx.theme.border, 1);
    }

private:
    std::string title_;
    std::string path_;
};

std::string display(const path& p) { return text::lossy_utf8(p.native()); }

std::string folder_title(const path& p) {
    path t = p;
    while (t.has_relative_path() && t.filename().empty()) t = t.parent_path();
    std::string name = display(t.filename());
    return name.empty() ? i18n::tr("files-place-root") : name;
}

}  // namespace

std::unique_ptr<FileExplorerWidget> FileExplorerWidget::create(StartupMode mode) {
    std::unique_ptr<FileExplorerWidget> w(new FileExplorerWidget());
    w->dirs_ = compute_startup_dirs(mode);
    path initial = initial_folder(w->dirs_.home);
    w->zoom_ = read_zoom(w->dirs_.config);
    // The initial folder's errors are not shown: an unreadable one starts empty.
    auto entries = model::read_folder(initial, false);
    if (entries) {
        model::remove_hidden(*entries);
        model::sort_entries(*entries, w->listing_.sort_key, w->listing_.descending);
        w->listing_.entries = std::move(*entries);
    }
    w->listing_.current = initial;
    w->listing_.next_refresh = model::Instant::clock::now() + std::chrono::milliseconds(750);
    auto sidebar = std::make_unique<places::PlacesSidebar>(places::system_places(w->dirs_), w->queue_);
    w->shell_ = std::make_unique<NavShell>(std::move(sidebar), std::make_unique<Column>());
    return w;
}

// ---- navigation -------------------------------------------------------------------------

void FileExplorerWidget::load_folder(const path& p) {
    clear_status();
    scroll_->x = scroll_->y = 0;
    if (auto status = model::load_folder(listing_, p)) status_message_ = *status;
    listing_.next_refresh = model::Instant::clock::now() + model::refresh_interval(listing_.entries.size());
    redraw_ = true;
}

void FileExplorerWidget::navigate_to(const path& p) { load_folder(history_.navigate(listing_.current, p)); }

void FileExplorerWidget::go_back() {
    if (auto to = history_.back(listing_.current)) load_folder(*to);
}

void FileExplorerWidget::go_forward() {
    if (auto to = history_.forward(listing_.current)) load_folder(*to);
}

void FileExplorerWidget::go_up() {
    if (auto to = history_.up(listing_.current)) load_folder(*to);
}

void FileExplorerWidget::reload() { load_folder(path(listing_.current)); }

void FileExplorerWidget::open_path(const path& p) {
    struct stat st;
    if (::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) navigate_to(p);
}

bool FileExplorerWidget::refresh_silently(model::Instant now) {
    if (now < listing_.next_refresh) return false;
    listing_.next_refresh = now + model::refresh_interval(listing_.entries.size());
    auto fresh = model::read_folder(listing_.current, false);
    if (!fresh) return false;
    if (!listing_.show_hidden) model::remove_hidden(*fresh);
    model::sort_entries(*fresh, listing_.sort_key, listing_.descending);
    if (*fresh == listing_.entries) return false;
    listing_.entries = std::move(*fresh);
    return true;
}

std::string FileExplorerWidget::status_line_text() const {
    if (status_message_) return *status_message_;
    return i18n::tr_args("files-item-count", i18n::MessageArgs().set("count", listing_.entries.size()));
}

// ---- commands ---------------------------------------------------------------------------

bool FileExplorerWidget::drain_commands() {
    bool changed = false;
    for (auto& c : queue_->take_all()) changed = execute_command(c) || changed;
    if (changed) redraw_ = true;
    return changed;
}

bool FileExplorerWidget::execute_command(const FileCommand& c) {
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, cmd::Navigate>) navigate_to(v.path);
            else if constexpr (std::is_same_v<T, cmd::OpenLocation>) {
                struct stat st;
                if (::stat(v.path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) open_path(v.path);
                else navigate_to(v.path);
            } else if constexpr (std::is_same_v<T, cmd::Up>) go_up();
            else if constexpr (std::is_same_v<T, cmd::Back>) go_back();
            else if constexpr (std::is_same_v<T, cmd::Forward>) go_forward();
            else if constexpr (std::is_same_v<T, cmd::Reload>) reload();
            else if constexpr (std::is_same_v<T, cmd::OpenEntry>) {
                if (v.index < listing_.entries.size()) open_path(path(listing_.entries[v.index].path));
            } else if constexpr (std::is_same_v<T, cmd::SetViewMode>) view_mode_ = v.mode;
            else if constexpr (std::is_same_v<T, cmd::SetSortKey>) {
                listing_.sort_key = v.key;
                model::sort_entries(listing_.entries, listing_.sort_key, listing_.descending);
            } else if constexpr (std::is_same_v<T, cmd::ToggleDescending>) {
                listing_.descending = !listing_.descending;
                model::sort_entries(listing_.entries, listing_.sort_key, listing_.descending);
            } else if constexpr (std::is_same_v<T, cmd::SetDescending>) {
                if (listing_.descending != v.descending) {
                    listing_.descending = v.descending;
                    model::sort_entries(listing_.entries, listing_.sort_key, listing_.descending);
                }
            } else if constexpr (std::is_same_v<T, cmd::ToggleHidden>) {
                listing_.show_hidden = !listing_.show_hidden;
                reload();
            } else if constexpr (std::is_same_v<T, cmd::SetZoom>) set_zoom(v.level);
        },
        c);
    return true;
}

void FileExplorerWidget::set_zoom(int level) {
    level = std::clamp(level, kZoomMin, kZoomMax);
    if (level == zoom_) return;
    zoom_ = level;
    redraw_ = true;
    if (!dirs_.config) return;
    std::error_code ec;
    std::filesystem::create_directories(*dirs_.config, ec);
    std::ofstream out(*dirs_.config / "zoom", std::ios::binary | std::ios::trunc);
    out << level;  // failures are ignored: the level still applies until exit
}

// ---- frame ------------------------------------------------------------------------------

void FileExplorerWidget::sync(FrameContext& ctx) {
    text_scale_ = ctx.text.text_scale();
    if (refresh_silently(ctx.now)) redraw_ = true;
    shell_->sync(ctx);
}

std::unique_ptr<Widget> FileExplorerWidget::build_content(LayoutContext&) {
    auto col = std::make_unique<Column>();
    col->add(std::make_unique<HeaderBar>(folder_title(listing_.current), display(listing_.current)));
    if (listing_.loading) {
        auto panel = std::make_unique<Column>(10);
        panel->set_cross_center(true);
        panel->add(std::make_unique<Spinner>(28));
        panel->add(std::make_unique<Text>(i18n::tr("files-loading-title"), TextRole::Heading, HAlign::Center));
        panel->add(std::make_unique<Text>(
            i18n::tr_args("files-loading-detail", i18n::MessageArgs().set("path", shorten_path(display(listing_.current), 36))),
            TextRole::Muted, HAlign::Center));
        col->add(std::move(panel), 1);
    } else if (listing_.load_error) {
        col->add(std::make_unique<EmptyState>(icons::builtin(icons::Builtin::Warning), i18n::tr("files-load-error-title"),
                                              *listing_.load_error),
                 1);
    } else {
        float s = 1.0f + 0.15f * float(zoom_);
        auto view = std::make_unique<views::FileView>(listing_.entries, s, pointer_, queue_);
        col->add(std::make_unique<Scrollable>(std::move(view), scroll_, "files.file_view.offset"), 1);
    }
    return col;
}

void FileExplorerWidget::build_layout(LayoutContext& ctx) {
    float s = text_scale_;
    shell_->set_breakpoint(std::max(1.0f, 640.0f + 900.0f * std::max(0.0f, s - 1.0f)));
    if (auto* sb = dynamic_cast<places::PlacesSidebar*>(shell_->sidebar())) sb->set_current(listing_.current);
    shell_->set_content(build_content(ctx));
}

void FileExplorerWidget::apply_layout(const Rect& bounds, LayoutContext& ctx) {
    bounds_ = bounds;
    shell_->apply_layout(bounds, ctx);
}

void FileExplorerWidget::draw(Painter& p, DrawContext& ctx) {
    p.fill_rect(bounds_, ctx.theme.window);
    shell_->draw(p, ctx);
}

void FileExplorerWidget::draw_overlay(Painter& p, DrawContext& ctx) {
    if (shell_->overlaying() && shell_->sidebar_open()) return;
    // The status line as a pill in the content's bottom-right corner.
    std::string text = status_line_text();
    TextStyle st{13, FontWeight::Medium};
    const TextRenderer& tr = p.text_renderer();
    Rect content = shell_->content_rect();
    float m = ctx.theme.margin;
    float w = std::min(tr.measure(text, st).width + 28, std::max(0.0f, content.width() - 2 * m));
    float h = tr.line_height(st) + 14;
    Rect pill{content.right - m - w, content.bottom - m - h, content.right - m, content.bottom - m};
    p.shadow(pill, h / 2, 10, ctx.theme.shadow);
    p.fill_rounded_rect(pill, h / 2, ctx.theme.surface);
    p.stroke_rounded_rect(pill, h / 2, ctx.theme.border, 1);
    p.text(text, pill.inset(14, 0), st, ctx.theme.text, HAlign::Center);
}

EventResult FileExplorerWidget::handle_event(const Event& e, EventContext& ctx) {
    Point pos;
    if (event_position(e, ctx.scale, pos) && std::holds_alternative<PointerMove>(e)) pointer_ = pos;
    EventResult r = shell_->handle_event(e, ctx);
    if (auto* k = std::get_if<KeyPress>(&e); k && r == EventResult::Ignored) {
        switch (k->key) {
            case Key::Backspace: push_command(cmd::Up{}); break;
            case Key::F5: push_command(cmd::Reload{}); break;
            case Key::Left:
                if (k->modifiers.alt) push_command(cmd::Back{});
                break;
            case Key::Right:
                if (k->modifiers.alt) push_command(cmd::Forward{});
                break;
            default: break;
        }
    }
    if (drain_commands()) r = EventResult::Consumed;
    return r;
}

void FileExplorerWidget::for_each_child(const std::function<void(Widget&)>& fn) { fn(*shell_); }

bool FileExplorerWidget::take_redraw_request() {
    bool r = std::exchange(redraw_, false);
    return shell_->take_redraw_request() || r;
}

std::optional<Instant> FileExplorerWidget::next_wakeup() const {
    auto w = shell_->next_wakeup();
    if (!w || listing_.next_refresh < *w) return listing_.next_refresh;
    return w;
}

std::optional<std::string> FileExplorerWidget::window_title() const { return i18n::tr("files-app-title"); }

std::optional<std::string> FileExplorerWidget::observer_snapshot() const {
    return native_observer::observer_snapshot(*this);
}

std::optional<a11y::AccessNode> FileExplorerWidget::access_node() const {
    a11y::AccessNode n;
    n.role = a11y::Role::Application;
    n.name = i18n::tr("files-a11y-activity");
    n.value = i18n::tr_args("files-a11y-current-folder", i18n::MessageArgs().set("path", display(listing_.current)));
    n.states.busy = listing_.loading;
    n.bounds = bounds_;
    return n;
}

}  // namespace files::app

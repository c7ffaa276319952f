#include <orvo_ui/launch.hpp>
#include <orvo_ui/offscreen.hpp>
#include <orvo_ui/persist.hpp>
#include <orvo_ui/widget.hpp>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "window_host.hpp"

namespace orvo_ui::launch {

std::optional<std::string> LaunchArgs::value(std::string_view name) const {
    for (const auto& [k, v] : values_)
        if (k == name) return v;
    return std::nullopt;
}

bool LaunchArgs::flag(std::string_view name) const {
    return std::find(flags_.begin(), flags_.end(), name) != flags_.end();
}

namespace {

bool contains(const std::vector<std::string>& list, std::string_view s) {
    return std::find(list.begin(), list.end(), s) != list.end();
}

std::string usage(const LaunchDescriptor& d, std::string_view program) {
    std::string s = "Usage: " + std::string(program) + " [FOLDER]";
    for (const auto& f : d.flag_options) s += " [" + f + "]";
    s += " [--observer-socket PATH]";
    s += "\n       " + std::string(program) + " --shot OUT.png [--observe OUT.json]";
    for (const auto& v : d.value_options) s += " [" + v + " VALUE]";
    s += " [SCENARIO]\n\nScenarios:";
    for (const auto& n : d.scenario_names) s += " " + n;
    s += "\n";
    return s;
}

bool exists(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0;
}

}  // namespace

std::expected<LaunchArgs, LaunchError> parse_args(const LaunchDescriptor& d, const std::vector<std::string>& argv) {
    LaunchArgs a;
    a.raw_ = argv;
    bool options_done = false;
    for (size_t i = 1; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        if (options_done || arg.size() < 2 || arg[0] != '-') {
            a.positional_.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options_done = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            a.help_ = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inline_value;
        if (auto eq = arg.find('='); eq != std::string::npos && arg.starts_with("--")) {
            name = arg.substr(0, eq);
            inline_value = arg.substr(eq + 1);
        }
        bool toolkit_value = name == "--shot" || name == "--observe" || name == "--observer-socket";
        if (toolkit_value || contains(d.value_options, name)) {
            std::string v;
            if (inline_value) v = *inline_value;
            else if (i + 1 < argv.size()) v = argv[++i];
            else return std::unexpected(LaunchError{"option " + name + " needs a value"});
            if (name == "--shot") {
                if (v.empty()) return std::unexpected(LaunchError{"option --shot needs an output path"});
                a.shot_output_ = std::filesystem::path(v);
            } else if (name == "--observe") {
                if (v.empty()) return std::unexpected(LaunchError{"option --observe needs an output path"});
                a.observe_output_ = std::filesystem::path(v);
            } else if (name == "--observer-socket") {
                if (v.empty()) return std::unexpected(LaunchError{"option --observer-socket needs a socket path"});
                a.observer_socket_ = std::filesystem::path(v);
            } else {
                std::erase_if(a.values_, [&](const auto& kv) { return kv.first == name; });
                a.values_.emplace_back(name, std::move(v));
            }
            continue;
        }
        if (contains(d.flag_options, name)) {
            if (inline_value) return std::unexpected(LaunchError{"option " + name + " takes no value"});
            if (!a.flag(name)) a.flags_.push_back(name);
            continue;
        }
        return std::unexpected(LaunchError{"unknown option: " + arg});
    }
    if (a.observe_output_ && !a.shot_output_)
        return std::unexpected(LaunchError{"option --observe only works together with --shot"});
    if (a.observer_socket_ && a.shot_output_)
        return std::unexpected(LaunchError{"option --observer-socket works only for the window, not with --shot"});
    if (a.shot_output_)
        for (const auto& p : a.positional_)
            if (contains(d.scenario_names, p)) {
                a.scenario_ = p;
                break;
            }
    return a;
}

std::optional<std::string> display_problem() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform) return std::nullopt;  // the user chose one
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland && *wayland) {
        std::string sock = wayland;
        if (sock.front() != '/') {
            const char* rt = std::getenv("XDG_RUNTIME_DIR");
            sock = std::string(rt ? rt : "") + "/" + sock;
        }
        if (exists(sock)) return std::nullopt;
    }
    const char* x = std::getenv("DISPLAY");
    if (x && *x) {
        std::string disp = x;
        if (disp.front() != ':') return std::nullopt;  // remote or TCP display: let the connection decide
        std::string num = disp.substr(1, disp.find('.') == std::string::npos ? std::string::npos : disp.find('.') - 1);
        if (exists("/tmp/.X11-unix/X" + num)) return std::nullopt;
        return "the X display " + disp + " is not running";
    }
    return std::string("no display is available (DISPLAY and WAYLAND_DISPLAY are not set)");
}

Theme shot_theme() {
    Theme t = Theme::light();
    t.text_scale = 1.0f;
    t.reduced_motion = true;
    return t;
}

std::expected<void, std::string> write_observer_snapshot(const Widget& root, const std::filesystem::path& out) {
    auto snap = root.observer_snapshot();
    if (!snap) return std::unexpected(std::string("the root widget has no observer snapshot"));
    std::string line = *snap + "\n";
    return publish_atomically(out, std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()));
}

std::expected<void, LaunchError> run(const LaunchDescriptor& d, int argc, char** argv) {
    std::vector<std::string> args(argv, argv + argc);
    auto parsed = parse_args(d, args);
    if (!parsed) return std::unexpected(parsed.error());
    const LaunchArgs& a = *parsed;
    std::string program = args.empty() ? d.app_id : std::filesystem::path(args[0]).filename().string();
    if (a.help_) {
        std::fputs(usage(d, program).c_str(), stdout);
        return {};
    }
    if (a.shot_output_) {
        // Screenshots never need a display, whatever the environment says.
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ensure_gui();
        if (!d.render_shot) return std::unexpected(LaunchError{"this program has no screenshot renderer"});
        return d.render_shot(a);
    }
    if (auto problem = display_problem())
        return std::unexpected(LaunchError{
            "cannot open a window: " + *problem + ". To render the window into a picture without a display, use "
            "the screenshot mode: " + program + " --shot OUT.png [--size WxH] [--path FOLDER] [SCENARIO]"});
    ensure_gui();
    set_application_name(d.app_id);
    std::unique_ptr<persist::Document> doc =
        d.open_persisted_document ? d.open_persisted_document() : persist::open(d.app_id);
    if (!d.build) return std::unexpected(LaunchError{"this program has no window builder"});
    auto root = d.build(a);
    if (!root) return std::unexpected(root.error());
    auto rc = run_window(d, a, std::move(*root), doc.get());
    if (doc) (void)doc->save();
    if (!rc) return std::unexpected(LaunchError{rc.error()});
    if (*rc != 0) return std::unexpected(LaunchError{"the window system closed the window with status " + std::to_string(*rc)});
    return {};
}

}  // namespace orvo_ui::launch

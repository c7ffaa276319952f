#pragma once
#include <orvo_ui/geometry.hpp>
#include <orvo_ui/theme.hpp>

#include <array>
#include <expected>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo_ui {
class Widget;
namespace persist { class Document; }
}  // namespace orvo_ui

namespace orvo_ui::launch {

struct LaunchError {
    std::string message;
    // The text main prints before exiting with status 1.
    std::string debug_text() const { return "LaunchError: " + message; }
};

// What the launcher made of the command line.
class LaunchArgs {
public:
    // Value of a declared value option ("--size"), if given.
    std::optional<std::string> value(std::string_view name) const;
    bool flag(std::string_view name) const;
    const std::vector<std::string>& positional() const { return positional_; }
    // Every argument of the process, the program name first.
    const std::vector<std::string>& raw() const { return raw_; }

    // Screenshot request: --shot OUT.png, the scenario (first positional argument that names a
    // declared scenario) and --observe OUT.json.
    const std::optional<std::filesystem::path>& shot_output() const { return shot_output_; }
    const std::optional<std::string>& scenario() const { return scenario_; }
    const std::optional<std::filesystem::path>& observe_output() const { return observe_output_; }
    // The launcher's own frame size, when it has one.
    const std::optional<Size>& launcher_size() const { return launcher_size_; }
    // --observer-socket PATH: the interactive window answers each connection there with one
    // observer snapshot line.
    const std::optional<std::filesystem::path>& observer_socket() const { return observer_socket_; }

    // For tests and the launcher.
    std::vector<std::pair<std::string, std::string>> values_;
    std::vector<std::string> flags_;
    std::vector<std::string> positional_;
    std::vector<std::string> raw_;
    std::optional<std::filesystem::path> shot_output_;
    std::optional<std::string> scenario_;
    std::optional<std::filesystem::path> observe_output_;
    std::optional<Size> launcher_size_;
    std::optional<std::filesystem::path> observer_socket_;
    bool help_ = false;
};

struct HistoryTarget {
    std::string id;
    std::string label;
};

struct HistoryModeRegistration {
    std::string app_id;
    std::vector<HistoryTarget> targets;
};

using BuildFn = std::function<std::expected<std::unique_ptr<Widget>, LaunchError>(const LaunchArgs&)>;
using ShotFn = std::function<std::expected<void, LaunchError>(const LaunchArgs&)>;
using PersistOpenFn = std::function<std::unique_ptr<persist::Document>()>;

struct LaunchDescriptor {
    std::string app_id;
    std::vector<std::string> value_options;
    std::vector<std::string> flag_options;
    std::vector<std::string> scenario_names;
    HistoryModeRegistration history_mode;
    BuildFn build;
    ShotFn render_shot;
    Size default_size{1280, 800};
    std::function<bool()> predicate;
    PersistOpenFn open_persisted_document;
    std::array<bool, 4> switches{};
    std::vector<std::string> reserved_a;
    std::vector<std::string> reserved_b;
};

// Parses the command line against the descriptor. Unknown options are errors.
std::expected<LaunchArgs, LaunchError> parse_args(const LaunchDescriptor& d, const std::vector<std::string>& argv);

// Runs the program: a screenshot when asked for, else the interactive window until it closes.
std::expected<void, LaunchError> run(const LaunchDescriptor& d, int argc, char** argv);

// The theme screenshots use: light, text scale 1, no motion.
Theme shot_theme();

// Writes the root widget's observer snapshot as one line of JSON, atomically.
std::expected<void, std::string> write_observer_snapshot(const Widget& root, const std::filesystem::path& out);

// Why no window can be opened here, or nothing when a display is reachable.
std::optional<std::string> display_problem();

}  // namespace orvo_ui::launch

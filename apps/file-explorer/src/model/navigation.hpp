#pragma once
// Moving between folders: history, typed locations, opening paths, the terminal.
#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace files::model {

using std::filesystem::path;

// Back and forward stacks; the current folder is the listing's. Each move returns the folder to
// load, or nothing when there is nowhere to go.
class NavigationHistory {
public:
    // A different folder pushes the current one and clears the forward stack; the same folder
    // (component by component) only reloads.
    path navigate(const path& current, const path& target);
    std::optional<path> back(const path& current);
    std::optional<path> forward(const path& current);
    // The parent through navigate(); nothing at "/".
    std::optional<path> up(const path& current);

    const std::vector<path>& back_stack() const { return back_; }
    const std::vector<path>& forward_stack() const { return forward_; }
    bool can_go_back() const { return !back_.empty(); }
    bool can_go_forward() const { return !forward_.empty(); }

private:
    std::vector<path> back_;
    std::vector<path> forward_;
};

// The parent folder; none for "/" (and for paths without one).
std::optional<path> parent_folder(const path& p);

// "~" and "~/..." expand when a home is known ("~user" does not); the result is joined onto the
// current folder. Nothing is trimmed, normalised or checked.
path resolve_typed_location(std::string_view typed, const std::optional<path>& home, const path& current);

// What opening a path means; the caller carries it out.
struct OpenNavigate {
    path target;
};
struct OpenStatus {
    std::string message;  // localised, for the status message
};
struct OpenDocument {
    path document;  // for launch_document
};
struct OpenNothing {};
using OpenAction = std::variant<OpenNothing, OpenNavigate, OpenStatus, OpenDocument>;

// Archives are browsed where a folder member is named; folders (links followed) are entered;
// anything else is a document.
OpenAction decide_open(const path& p);
// A confirmed typed location: a regular file opens as above, anything else is navigated to
// (a missing path then shows the load error).
OpenAction decide_open_typed(const path& resolved);

// Hands the document to the desktop's default application: the standard openers in turn,
// starting with xdg-open; none waited for, no shell. The error names the last failure.
std::expected<void, std::string> launch_document(const path& document);
// Starts "terminal" from the executable search path in the folder, streams inherited, not
// waited for. The error is "could not open terminal: " and the system's reason.
std::expected<void, std::string> open_terminal(const path& folder);

}  // namespace files::model

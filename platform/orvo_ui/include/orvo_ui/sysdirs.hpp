#pragma once
// XDG base and user directories.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo_ui::sysdirs {

using std::filesystem::path;

enum class UserDirKind { Home, Desktop, Documents, Downloads, Music, Pictures, PublicShare, Templates, Videos };

struct UserDirPlace {
    UserDirKind kind;
    std::string label;
    path dir;
};

class UserDirs {
public:
    // $HOME and "<config>/user-dirs.dirs".
    static UserDirs from_system();
    // From a home folder and the text of a user-dirs.dirs file.
    static UserDirs from_text(std::optional<path> home, std::string_view user_dirs_text);

    const std::optional<path>& home() const { return home_; }
    std::optional<path> dir(UserDirKind kind) const;
    // Which user directory the path is, compared component by component.
    std::optional<UserDirKind> classify(const path& p) const;
    // The content folders a sidebar offers, existing ones only, in a fixed order.
    std::vector<UserDirPlace> content_places() const;

private:
    std::optional<path> home_;
    std::vector<std::pair<UserDirKind, path>> dirs_;
};

// The home folder tests and sandboxes set through ORVO_HOME (absolute), if any.
std::optional<path> user_home_override();
// $HOME, else the password database.
std::optional<path> home_dir();
// XDG base directories: the variable when absolute, else the default below the home folder.
std::optional<path> config_dir();
std::optional<path> data_dir();
std::optional<path> cache_dir();
std::vector<path> data_dirs();
std::optional<path> runtime_dir();

// Same folder, component by component ("a/b/" equals "a/./b").
bool same_path(const path& a, const path& b);

}  // namespace orvo_ui::sysdirs

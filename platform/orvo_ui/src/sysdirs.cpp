#include <orvo_ui/sysdirs.hpp>

#include <pwd.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

namespace orvo_ui::sysdirs {

namespace {

std::optional<std::string> env(const char* name) {
    const char* v = std::getenv(name);
    if (!v || !*v) return std::nullopt;
    return std::string(v);
}

std::optional<path> base_dir(const char* var, const char* fallback) {
    if (auto v = env(var); v && path(*v).is_absolute()) return path(*v);
    auto home = home_dir();
    if (!home) return std::nullopt;
    return *home / fallback;
}

struct KindName {
    UserDirKind kind;
    std::string_view key;
};
constexpr std::array<KindName, 8> kKeys{{
    {UserDirKind::Desktop, "XDG_DESKTOP_DIR"},
    {UserDirKind::Documents, "XDG_DOCUMENTS_DIR"},
    {UserDirKind::Downloads, "XDG_DOWNLOAD_DIR"},
    {UserDirKind::Music, "XDG_MUSIC_DIR"},
    {UserDirKind::Pictures, "XDG_PICTURES_DIR"},
    {UserDirKind::PublicShare, "XDG_PUBLICSHARE_DIR"},
    {UserDirKind::Templates, "XDG_TEMPLATES_DIR"},
    {UserDirKind::Videos, "XDG_VIDEOS_DIR"},
}};

// One value of user-dirs.dirs: "$HOME/Documents" or "/abs/path", shell-quoted.
std::optional<path> parse_value(std::string_view v, const std::optional<path>& home) {
    if (v.size() < 2 || v.front() != '"' || v.back() != '"') return std::nullopt;
    v = v.substr(1, v.size() - 2);
    std::string out;
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '\\' && i + 1 < v.size()) out += v[++i];
        else out += v[i];
    }
    if (out.starts_with("$HOME")) {
        if (!home) return std::nullopt;
        std::string rest = out.substr(5);
        if (!rest.empty() && rest.front() != '/') return std::nullopt;
        while (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
        return rest.empty() ? *home : *home / rest;
    }
    if (!out.empty() && out.front() == '/') return path(out);
    return std::nullopt;
}

}  // namespace

bool same_path(const path& a, const path& b) {
    auto norm = [](const path& p) {
        std::vector<std::string> parts;
        for (const auto& c : p) {
            std::string s = c.string();
            if (s.empty() || s == ".") continue;
            parts.push_back(std::move(s));
        }
        return parts;
    };
    if (a.is_absolute() != b.is_absolute()) return false;
    return norm(a) == norm(b);
}

std::optional<path> home_dir() {
    if (auto h = env("HOME"); h && path(*h).is_absolute()) return path(*h);
    if (struct passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/') return path(pw->pw_dir);
    return std::nullopt;
}

std::optional<path> user_home_override() {
    if (auto v = env("ORVO_HOME"); v && path(*v).is_absolute()) return path(*v);
    return std::nullopt;
}

std::optional<path> config_dir() { return base_dir("XDG_CONFIG_HOME", ".config"); }
std::optional<path> data_dir() { return base_dir("XDG_DATA_HOME", ".local/share"); }
std::optional<path> cache_dir() { return base_dir("XDG_CACHE_HOME", ".cache"); }

std::vector<path> data_dirs() {
    std::string v = env("XDG_DATA_DIRS").value_or("/usr/local/share:/usr/share");
    std::vector<path> out;
    std::stringstream ss(v);
    std::string item;
    while (std::getline(ss, item, ':'))
        if (!item.empty() && item.front() == '/') out.emplace_back(item);
    return out;
}

std::optional<path> runtime_dir() {
    if (auto v = env("XDG_RUNTIME_DIR"); v && path(*v).is_absolute()) return path(*v);
    return std::nullopt;
}

UserDirs UserDirs::from_text(std::optional<path> home, std::string_view text) {
    UserDirs u;
    u.home_ = std::move(home);
    bool saw_desktop = false;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view key = line.substr(0, eq);
        for (const auto& k : kKeys) {
            if (k.key != key) continue;
            auto p = parse_value(line.substr(eq + 1), u.home_);
            if (k.kind == UserDirKind::Desktop) saw_desktop = true;
            // A user directory set to the home folder itself is switched off.
            if (p && !(u.home_ && same_path(*p, *u.home_))) {
                std::erase_if(u.dirs_, [&](const auto& d) { return d.first == k.kind; });
                u.dirs_.emplace_back(k.kind, *p);
            }
        }
        if (pos > text.size()) break;
    }
    if (!saw_desktop && u.home_) u.dirs_.emplace_back(UserDirKind::Desktop, *u.home_ / "Desktop");
    return u;
}

UserDirs UserDirs::from_system() {
    auto home = home_dir();
    std::string text;
    if (auto cfg = config_dir()) {
        std::ifstream in(*cfg / "user-dirs.dirs", std::ios::binary);
        if (in) text.assign(std::istreambuf_iterator<char>(in), {});
    }
    return from_text(home, text);
}

std::optional<path> UserDirs::dir(UserDirKind kind) const {
    if (kind == UserDirKind::Home) return home_;
    for (const auto& [k, p] : dirs_)
        if (k == kind) return p;
    return std::nullopt;
}

std::optional<UserDirKind> UserDirs::classify(const path& p) const {
    for (const auto& [k, d] : dirs_)
        if (same_path(d, p)) return k;
    if (home_ && same_path(*home_, p)) return UserDirKind::Home;
    return std::nullopt;
}

std::vector<UserDirPlace> UserDirs::content_places() const {
    static constexpr std::array order{UserDirKind::Documents, UserDirKind::Downloads, UserDirKind::Music,
                                      UserDirKind::Pictures, UserDirKind::Videos};
    std::vector<UserDirPlace> out;
    for (auto kind : order) {
        auto d = dir(kind);
        std::error_code ec;
        if (!d || !std::filesystem::is_directory(*d, ec)) continue;
        std::string label = d->filename().string();
        if (label.empty()) label = d->string();
        out.push_back({kind, std::move(label), *d});
    }
    return out;
}

}  // namespace orvo_ui::sysdirs

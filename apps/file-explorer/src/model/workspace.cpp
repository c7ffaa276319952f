#include "model/workspace.hpp"

#include "i18n/i18n.hpp"
#include "model/utf8.hpp"

#include <orvo_ui/sysdirs.hpp>

#include <sys/stat.h>

#include <cstdlib>
#include <string_view>

namespace files::model {

namespace {

bool exists_following_links(const path& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0;
}

// Components without empty ones, so "/a/b/" and "/a/b" compare equal.
std::vector<std::string> components(const path& p) {
    std::vector<std::string> out;
    for (const auto& c : p) {
        std::string s = c.native();
        if (!s.empty()) out.push_back(std::move(s));
    }
    return out;
}

std::vector<path> discover(bool with_shared_fallback) {
    std::vector<path> roots;
    if (const char* env = std::getenv("ORVO_WORKSPACE_ROOTS")) {
        std::string_view v(env);
        size_t pos = 0;
        while (pos <= v.size()) {
            size_t end = v.find(':', pos);
            if (end == std::string_view::npos) end = v.size();
            std::string_view item = v.substr(pos, end - pos);
            if (!item.empty() && exists_following_links(path(item))) roots.emplace_back(item);
            pos = end + 1;
        }
        return roots;
    }
    if (exists_following_links("/var/workspace")) roots.emplace_back("/var/workspace");
    if (!with_shared_fallback) return roots;
    auto home = orvo_ui::sysdirs::user_home_override();
    if (!home) home = orvo_ui::sysdirs::home_dir();
    if (home) {
        path shared = *home / "Shared";
        bool known = false;
        for (const auto& r : roots) known = known || components(r) == components(shared);
        if (!known && exists_following_links(shared)) roots.push_back(shared);
    }
    return roots;
}

}  // namespace

std::vector<path> workspace_roots() { return discover(true); }
std::vector<path> system_workspace_roots() { return discover(false); }

bool path_within(const path& p, const path& root) {
    if (p.is_absolute() != root.is_absolute()) return false;
    auto pc = components(p), rc = components(root);
    if (rc.size() > pc.size()) return false;
    for (size_t i = 0; i < rc.size(); ++i)
        if (pc[i] != rc[i]) return false;
    return true;
}

bool in_workspace(const path& p, const std::vector<path>& roots) {
    for (const auto& r : roots)
        if (path_within(p, r)) return true;
    return false;
}

bool in_workspace(const path& p) { return in_workspace(p, workspace_roots()); }

std::optional<path> workspace_root_of(const path& p, const std::vector<path>& roots) {
    std::optional<path> best;
    for (const auto& r : roots) {
        if (!path_within(p, r)) continue;
        if (!best || r.native().size() >= best->native().size()) best = r;
    }
    return best;
}

std::string root_display_name(const path& root) {
    path t = root;
    while (t.has_relative_path() && t.filename().empty()) t = t.parent_path();
    std::string name = t.has_relative_path() ? text::lossy_utf8(t.filename().native()) : std::string();
    return name.empty() ? i18n::tr("files-place-workspace") : name;
}

}  // namespace files::model

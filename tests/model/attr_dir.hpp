#pragma once
// A temp folder on a file system with user extended attributes: /dev/shm (tmpfs) when it has
// them, else the default temp folder when that does.
#include "temp_dir.hpp"

#include <sys/xattr.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace files::testing {

inline bool supports_user_xattrs(const std::filesystem::path& dir) {
    auto probe = dir / ".xattr-probe";
    std::ofstream(probe).put('x');
    bool ok = ::lsetxattr(probe.c_str(), "user.probe", "1", 1, 0) == 0;
    std::filesystem::remove(probe);
    return ok;
}

// Null when no candidate supports attributes; the test then skips.
inline std::unique_ptr<TempDir> make_attr_dir() {
    for (const char* base : {"/dev/shm", static_cast<const char*>(nullptr)}) {
        std::unique_ptr<TempDir> d;
        if (base) {
            if (!std::filesystem::is_directory(base)) continue;
            ScopedEnv tmp("TMPDIR", base);
            d = std::make_unique<TempDir>("files-attr");
        } else {
            d = std::make_unique<TempDir>("files-attr");
        }
        if (supports_user_xattrs(d->path())) return d;
    }
    return nullptr;
}

inline void set_attr(const std::filesystem::path& p, const std::string& name, const std::string& value) {
    if (::lsetxattr(p.c_str(), name.c_str(), value.data(), value.size(), 0) != 0) std::abort();
}

}  // namespace files::testing

#define REQUIRE_ATTR_DIR(var)                                                        \
    auto var = ::files::testing::make_attr_dir();                                    \
    if (!var) GTEST_SKIP() << "no file system with user extended attributes here"

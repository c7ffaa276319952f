#pragma once
// A fresh folder per test, removed afterwards, with a helper to fill it.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace files::testing {

class TempDir {
public:
    explicit TempDir(std::string_view prefix = "files-test") {
        auto base = std::filesystem::temp_directory_path();
        std::string tmpl = (base / (std::string(prefix) + "-XXXXXX")).string();
        if (!::mkdtemp(tmpl.data())) std::abort();
        path_ = tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view rel) const { return path_ / rel; }

    // Names ending in "/" become folders, the rest files (with their parents).
    void create_files(std::initializer_list<std::string_view> names) const {
        for (auto n : names) {
            if (n.ends_with('/')) {
                std::filesystem::create_directories(path_ / n);
            } else {
                auto p = path_ / n;
                std::filesystem::create_directories(p.parent_path());
                std::ofstream(p, std::ios::binary);
            }
        }
    }
    void write(std::string_view rel, std::string_view content) const {
        auto p = path_ / rel;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << content;
    }

private:
    std::filesystem::path path_;
};

// Sets an environment variable for the scope; restores (or unsets) it after.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = std::string(old);
        if (value) ::setenv(name, value, 1);
        else ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) ::setenv(name_.c_str(), old_->c_str(), 1);
        else ::unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace files::testing

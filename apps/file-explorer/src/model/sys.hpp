#pragma once
// The system calls the core uses, wrapped once: each returns its value or the errno.
#include <expected>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

namespace files::model::sys {

using std::filesystem::path;

// An owned descriptor, closed on destruction.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& o) noexcept : fd_(std::exchange(o.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& o) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd();

    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

std::expected<UniqueFd, int> open_at(int dirfd, const path& p, int flags, unsigned mode = 0);

// Reads one extended attribute without following a final link. A value longer than max_bytes
// is the error E2BIG; it is never returned, whatever its length.
std::expected<std::string, int> get_attribute(const path& p, const char* name, size_t max_bytes);
std::expected<std::string, int> get_attribute(int fd, const char* name, size_t max_bytes);
// The same into a per-thread buffer, valid until the thread's next attribute read.
std::expected<std::string_view, int> get_attribute_view(const path& p, const char* name, size_t max_bytes);
// The names on the path (link not followed), NUL-separated as the system gives them.
std::expected<std::string, int> list_attributes(const path& p);
// Creates or replaces, without following a final link.
std::expected<void, int> set_attribute(const path& p, const char* name, std::string_view value);

std::string error_text(int err);

}  // namespace files::model::sys

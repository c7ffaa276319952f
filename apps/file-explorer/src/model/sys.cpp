#include "model/sys.hpp"

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

namespace files::model::sys {

UniqueFd& UniqueFd::operator=(UniqueFd&& o) noexcept {
    if (this != &o) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(o.fd_, -1);
    }
    return *this;
}

UniqueFd::~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
}

std::expected<UniqueFd, int> open_at(int dirfd, const path& p, int flags, unsigned mode) {
    int fd = ::openat(dirfd, p.c_str(), flags | O_CLOEXEC, mode);
    if (fd < 0) return std::unexpected(errno);
    return UniqueFd(fd);
}

namespace {

// Attribute values never exceed 64 KiB on Linux; one byte more than the bound tells an
// oversize value from one that fits, in a single call.
constexpr size_t kKernelMax = 65536;

// The kernel allocates and clears as many bytes as the buffer offered, so a first try offers
// what nearly every value needs; only a longer value costs a second call.
constexpr size_t kFirstTry = 4096;

template <typename Get>
std::expected<std::string_view, int> bounded_view(size_t max_bytes, Get get) {
    // One reusable buffer per thread: no allocation of 64 KiB per read.
    thread_local std::unique_ptr<char[]> buf(new char[kKernelMax + 1]);
    size_t cap = max_bytes >= kKernelMax ? kKernelMax + 1 : max_bytes + 1;
    ssize_t n = get(buf.get(), std::min(cap, kFirstTry));
    if (n < 0 && errno == ERANGE && cap > kFirstTry) n = get(buf.get(), cap);
    if (n < 0) return std::unexpected(errno == ERANGE ? E2BIG : errno);
    if (size_t(n) > max_bytes) return std::unexpected(E2BIG);
    return std::string_view(buf.get(), size_t(n));
}

template <typename Get>
std::expected<std::string, int> bounded_read(size_t max_bytes, Get get) {
    auto v = bounded_view(max_bytes, get);
    if (!v) return std::unexpected(v.error());
    return std::string(*v);
}

}  // namespace

std::expected<std::string, int> get_attribute(const path& p, const char* name, size_t max_bytes) {
    return bounded_read(max_bytes, [&](char* b, size_t n) { return ::lgetxattr(p.c_str(), name, b, n); });
}

std::expected<std::string_view, int> get_attribute_view(const path& p, const char* name, size_t max_bytes) {
    return bounded_view(max_bytes, [&](char* b, size_t n) { return ::lgetxattr(p.c_str(), name, b, n); });
}

std::expected<std::string, int> get_attribute(int fd, const char* name, size_t max_bytes) {
    return bounded_read(max_bytes, [&](char* b, size_t n) { return ::fgetxattr(fd, name, b, n); });
}

std::expected<std::string, int> list_attributes(const path& p) {
    std::string buf(1024, '\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        ssize_t n = ::llistxattr(p.c_str(), buf.data(), buf.size());
        if (n >= 0) {
            buf.resize(size_t(n));
            return buf;
        }
        if (errno != ERANGE) return std::unexpected(errno);
        ssize_t need = ::llistxattr(p.c_str(), nullptr, 0);
        if (need < 0) return std::unexpected(errno);
        buf.assign(size_t(need) + 256, '\0');
    }
    return std::unexpected(ERANGE);
}

std::expected<void, int> set_attribute(const path& p, const char* name, std::string_view value) {
    if (::lsetxattr(p.c_str(), name, value.data(), value.size(), 0) != 0) return std::unexpected(errno);
    return {};
}

std::string error_text(int err) { return std::strerror(err); }

}  // namespace files::model::sys

#include "main/share_link.hpp"

#include <unistd.h>

#include <cerrno>

#include "model/utf8.hpp"

namespace files::startup {

std::expected<std::string, std::string_view> share_link_from_bytes(std::string bytes) {
    if (bytes.size() > kShareLinkMax) return std::unexpected("files-received-link-too-large");
    if (!text::is_valid_utf8(bytes)) return std::unexpected("files-received-link-invalid-text");
    while (!bytes.empty() && (bytes.back() == '\r' || bytes.back() == '\n')) bytes.pop_back();
    if (bytes.empty()) return std::unexpected("files-received-link-empty");
    return bytes;
}

std::expected<std::string, std::string_view> read_share_link(int fd) {
    constexpr size_t limit = kShareLinkMax + 1;
    std::string buf;
    // A small probe first, then reads that double while they keep filling up.
    size_t chunk = 32;
    bool probed = false;
    while (buf.size() < limit) {
        size_t want = std::min(chunk, limit - buf.size());
        size_t old = buf.size();
        buf.resize(old + want);
        ssize_t n = ::read(fd, buf.data() + old, want);
        if (n < 0) {
            if (errno == EINTR) {
                buf.resize(old);
                continue;
            }
            return std::unexpected("files-received-link-read-failed");
        }
        buf.resize(old + size_t(n));
        if (n == 0) break;
        if (!probed) {
            probed = true;
            chunk = 8192;
        } else if (size_t(n) == want) {
            chunk *= 2;
        }
    }
    return share_link_from_bytes(std::move(buf));
}

bool has_share_stdin_flag(const std::vector<std::string>& raw_args) {
    for (const auto& a : raw_args)
        if (a == "--open-share-stdin") return true;
    return false;
}

}  // namespace files::startup

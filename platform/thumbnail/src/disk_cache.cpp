#include "disk_cache.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <random>
#include <string>

namespace thumbnail::detail {
namespace {

constexpr std::size_t max_file_bytes = 8 << 20;

bool is_cache_name(const std::string& name) {
    if (name.size() != 64 + 4 || !name.ends_with(".png")) return false;
    return std::all_of(name.begin(), name.end() - 4,
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

bool write_all(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

DiskCache::DiskCache(std::filesystem::path dir, std::size_t max_files)
    : dir_(std::move(dir)), max_files_(std::max<std::size_t>(max_files, 1)) {
    std::error_code ec;
    std::size_t n = 0;
    for (auto it = std::filesystem::directory_iterator(dir_, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        if (is_cache_name(it->path().filename().native())) ++n;
    count_ = n;
    if (n > max_files_) prune();
}

std::filesystem::path DiskCache::file_for(const cache::ThumbKey& key) const {
    return dir_ / (key.hex() + ".png");
}

std::optional<std::vector<std::uint8_t>> DiskCache::load(const cache::ThumbKey& key) {
    const auto path = file_for(key);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    std::optional<std::vector<std::uint8_t>> out;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
        static_cast<std::size_t>(st.st_size) <= max_file_bytes) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size));
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        if (got == bytes.size()) out = std::move(bytes);
        // A hit counts as a use, so pruning drops the least recently used files.
        if (out) ::futimens(fd, nullptr);
    }
    ::close(fd);
    return out;
}

void DiskCache::store(const cache::ThumbKey& key, std::span<const std::uint8_t> png) {
    const auto final_path = file_for(key);
    thread_local std::mt19937_64 rng{std::random_device{}()};
    const auto tmp = dir_ / (".tmp-" + key.hex().substr(0, 16) + "-" + std::to_string(rng()));
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return;
    const bool ok = write_all(fd, png);
    ::close(fd);
    struct stat st {};
    const bool existed = ::lstat(final_path.c_str(), &st) == 0;
    // Whole files only: a reader never sees a partly written thumbnail.
    if (!ok || ::rename(tmp.c_str(), final_path.c_str()) != 0) {
        ::unlink(tmp.c_str());
        return;
    }
    if (!existed && ++count_ > max_files_) prune();
}

void DiskCache::discard(const cache::ThumbKey& key) {
    if (::unlink(file_for(key).c_str()) == 0 && count_ > 0) --count_;
}

void DiskCache::prune() {
    std::unique_lock lock(prune_mutex_, std::try_to_lock);
    if (!lock) return;  // another worker is at it
    struct File {
        std::filesystem::file_time_type time;
        std::filesystem::path path;
    };
    std::vector<File> files;
    std::error_code ec;
    const auto now = std::filesystem::file_time_type::clock::now();
    for (auto it = std::filesystem::directory_iterator(dir_, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::error_code e2;
        const auto name = it->path().filename().native();
        const auto time = it->last_write_time(e2);
        if (e2) continue;
        if (name.starts_with(".tmp-")) {
            // Left by a writer that died; a live one finishes within seconds.
            if (now - time > std::chrono::minutes(10)) std::filesystem::remove(it->path(), e2);
            continue;
        }
        if (is_cache_name(name)) files.push_back({time, it->path()});
    }
    // Prune a little below the limit so the next few stores do not scan again.
    const std::size_t keep = max_files_ - max_files_ / 16;
    if (files.size() > keep) {
        std::sort(files.begin(), files.end(), [](const File& a, const File& b) { return a.time < b.time; });
        const std::size_t drop = files.size() - keep;
        for (std::size_t i = 0; i < drop; ++i) {
            std::error_code e2;
            std::filesystem::remove(files[i].path, e2);
        }
        count_ = keep;
    } else {
        count_ = files.size();
    }
}

}  // namespace thumbnail::detail

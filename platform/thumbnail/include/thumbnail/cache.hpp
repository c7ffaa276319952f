#pragma once
// Keys that name one thumbnail of one content at one size, and the cache limits.
#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

namespace thumbnail::cache {

// A SHA-256 over the key's inputs: fixed size, so it is cheap to hash and compare and
// its hex form is a safe cache file name whatever bytes the path holds.
struct ThumbKey {
    std::array<std::uint8_t, 32> bytes{};

    // A file as it is now; a new modification time or size gives a new key.
    static ThumbKey of_path_meta(const std::filesystem::path& path, std::uint64_t mtime_ms,
                                 std::uint64_t size_bytes, unsigned thumb_size);
    // A content digest (SHA-256 of the file): copies of one content share a thumbnail.
    static ThumbKey of_digest(std::span<const std::uint8_t, 32> digest, unsigned thumb_size);

    std::string hex() const;

    friend bool operator==(const ThumbKey&, const ThumbKey&) = default;
    friend auto operator<=>(const ThumbKey&, const ThumbKey&) = default;
};

struct ThumbKeyHash {
    std::size_t operator()(const ThumbKey& key) const noexcept;
};

// memory_entries: finished results (images and failures) the service keeps for poll(),
// least recently polled dropped first; a dropped key polls as absent and a new request
// reloads it from disk. disk_files: PNG files kept in the cache folder, least recently
// used (by modification time, refreshed on each hit) removed first.
struct CacheConfig {
    std::size_t memory_entries = 512;
    std::size_t disk_files = 4096;
};

}  // namespace thumbnail::cache

template <>
struct std::hash<thumbnail::cache::ThumbKey> : thumbnail::cache::ThumbKeyHash {};

#pragma once
// PNG files named by the key's hex digest; every failure is a miss, never an error.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "thumbnail/cache.hpp"

namespace thumbnail::detail {

class DiskCache {
public:
    DiskCache(std::filesystem::path dir, std::size_t max_files);

    std::optional<std::vector<std::uint8_t>> load(const cache::ThumbKey& key);
    void store(const cache::ThumbKey& key, std::span<const std::uint8_t> png);
    void discard(const cache::ThumbKey& key);

private:
    std::filesystem::path file_for(const cache::ThumbKey& key) const;
    void prune();

    std::filesystem::path dir_;
    std::size_t max_files_;
    std::atomic<std::size_t> count_{0};
    std::mutex prune_mutex_;
};

}  // namespace thumbnail::detail

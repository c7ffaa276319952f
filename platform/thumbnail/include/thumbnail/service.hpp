#pragma once
// Asynchronous, deduplicated thumbnails on worker threads, with a disk cache.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "thumbnail/cache.hpp"

namespace thumbnail::service {

// Row-major, 4 bytes a pixel (R, G, B, A), alpha not premultiplied, no row padding.
struct RgbaImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> pixels;
};

enum class ThumbState : std::uint8_t { Absent, Pending, Ready, Failed };

struct ThumbPoll {
    ThumbState state = ThumbState::Absent;
    std::shared_ptr<const RgbaImage> image;  // set when Ready; shared, never copied
};

// Returns the stored preview's encoded image bytes, or nothing. Called on a worker
// thread, at most once per request, and only when the service wants the preview.
using PreviewFn = std::function<std::optional<std::vector<std::uint8_t>>()>;

class ThumbnailService {
public:
    // `workers` threads; thumbnails fit in `size` × `size`, aspect kept, never enlarged.
    // Creates `cache_dir`; fails when it cannot be created or written.
    static std::expected<std::unique_ptr<ThumbnailService>, std::string> create(
        std::filesystem::path cache_dir, unsigned workers, unsigned size,
        cache::CacheConfig config = {});

    ~ThumbnailService();  // stops the workers; queued work is dropped
    ThumbnailService(const ThumbnailService&) = delete;
    ThumbnailService& operator=(const ThumbnailService&) = delete;

    // A request for a key that is pending or finished is ignored, unless it offers a
    // source the finished failure did not have. With both sources the file wins; the
    // preview is asked for only when the file gives no image.
    void request_file(const cache::ThumbKey& key, std::uint8_t category,
                      std::filesystem::path path);
    void request_with_preview(const cache::ThumbKey& key, std::uint8_t category,
                              std::filesystem::path path, PreviewFn preview);
    void request_preview_only(const cache::ThumbKey& key, std::uint8_t category,
                              PreviewFn preview);

    ThumbPoll poll(const cache::ThumbKey& key) const;
    std::size_t pending() const;  // queued plus in progress
    bool block_until_idle(std::chrono::milliseconds timeout) const;  // true when idle
    // Called on a worker thread after each request finishes; keep it short and thread-safe.
    void set_on_ready(std::function<void()> on_ready);

    unsigned size() const;
    const std::filesystem::path& cache_dir() const;

    struct Impl;

private:
    explicit ThumbnailService(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace thumbnail::service

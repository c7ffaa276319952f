#include "thumbnail/service.hpp"

#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <list>
#include <mutex>
#include <stop_token>
#include <thread>
#include <unordered_map>
#include <utility>

#include "decode.hpp"
#include "thumbnail/category.hpp"
#include "disk_cache.hpp"

namespace thumbnail::service {

using cache::ThumbKey;

namespace {

enum SourceBits : std::uint8_t { FromFile = 1, FromPreview = 2 };

struct Job {
    ThumbKey key;
    std::uint8_t category = 0;
    std::optional<std::filesystem::path> file;
    PreviewFn preview;
};

struct Slot {
    ThumbState state = ThumbState::Pending;
    std::shared_ptr<const RgbaImage> image;
    std::uint8_t offered = 0;  // sources tried or queued for this key
    std::list<ThumbKey>::iterator lru;
    bool in_lru = false;
};

struct Outcome {
    std::shared_ptr<const RgbaImage> image;
    QImage encoded_from;  // set when the disk cache should be written
};

// Media and fonts have no decoder here; not opening them spares slow mounts a read.
bool file_may_decode(std::uint8_t category) {
    using category::Category;
    return category != std::to_underlying(Category::Video) &&
           category != std::to_underlying(Category::Audio) &&
           category != std::to_underlying(Category::Font);
}

}  // namespace

struct ThumbnailService::Impl {
    Impl(std::filesystem::path d, unsigned s, cache::CacheConfig c)
        : dir(std::move(d)), size(s), config(c), disk(dir, c.disk_files) {}

    const std::filesystem::path dir;
    const unsigned size;
    const cache::CacheConfig config;
    detail::DiskCache disk;

    mutable std::mutex mutex;
    std::condition_variable_any work_cv;
    mutable std::condition_variable_any idle_cv;
    std::deque<Job> queue;
    std::size_t running = 0;
    std::unordered_map<ThumbKey, Slot, cache::ThumbKeyHash> entries;
    mutable std::list<ThumbKey> lru;  // finished keys, most recently polled first
    std::shared_ptr<const std::function<void()>> on_ready;
    std::vector<std::jthread> workers;  // last: stopped and joined before the rest goes

    void enqueue(Job job, std::uint8_t sources);
    void run(std::stop_token stop);
    Outcome process(Job& job, const std::stop_token& stop);
    void finish(const ThumbKey& key, std::shared_ptr<const RgbaImage> image);
};

void ThumbnailService::Impl::enqueue(Job job, std::uint8_t sources) {
    {
        std::lock_guard lock(mutex);
        auto [it, inserted] = entries.try_emplace(job.key);
        Slot& slot = it->second;
        if (!inserted) {
            if (slot.state == ThumbState::Pending || slot.state == ThumbState::Ready) return;
            // A failure is final for the sources it had; a new source gets its chance.
            if ((sources & ~slot.offered) == 0) return;
            if (slot.in_lru) lru.erase(slot.lru);
            slot.in_lru = false;
            slot.state = ThumbState::Pending;
        }
        slot.offered |= sources;
        // Newest first: what was asked for last is what is on screen now.
        queue.push_back(std::move(job));
    }
    work_cv.notify_one();
}

Outcome ThumbnailService::Impl::process(Job& job, const std::stop_token& stop) {
    if (auto bytes = disk.load(job.key)) {
        if (auto image = detail::decode_cached_png(*bytes, size))
            if (auto rgba = detail::to_rgba(*image)) return {std::move(rgba), {}};
        disk.discard(job.key);  // unreadable: made again below
    }
    std::optional<QImage> image;
    if (job.file && file_may_decode(job.category)) image = detail::decode_file(*job.file, size);
    if (!image && job.preview && !stop.stop_requested()) {
        std::optional<std::vector<std::uint8_t>> bytes;
        try {
            bytes = job.preview();
        } catch (...) {
            bytes.reset();  // the caller's reader must not take a worker down
        }
        if (bytes && !bytes->empty()) image = detail::decode_bytes(*bytes, size);
    }
    if (!image) return {};
    QImage rgba = image->convertToFormat(QImage::Format_RGBA8888);
    auto out = detail::to_rgba(rgba);
    if (!out) return {};
    return {std::move(out), std::move(rgba)};
}

void ThumbnailService::Impl::finish(const ThumbKey& key, std::shared_ptr<const RgbaImage> image) {
    std::shared_ptr<const std::function<void()>> notify;
    {
        std::lock_guard lock(mutex);
        auto it = entries.find(key);
        if (it != entries.end()) {
            Slot& slot = it->second;
            slot.state = image ? ThumbState::Ready : ThumbState::Failed;
            slot.image = std::move(image);
            lru.push_front(key);
            slot.lru = lru.begin();
            slot.in_lru = true;
            while (lru.size() > std::max<std::size_t>(config.memory_entries, 1)) {
                entries.erase(lru.back());
                lru.pop_back();
            }
        }
        notify = on_ready;
    }
    // Still counted as pending here, so "idle" means every wake-up has been delivered.
    if (notify && *notify) (*notify)();
    std::lock_guard lock(mutex);
    --running;
    if (queue.empty() && running == 0) idle_cv.notify_all();
}

void ThumbnailService::Impl::run(std::stop_token stop) {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex);
            work_cv.wait(lock, stop, [&] { return !queue.empty(); });
            if (stop.stop_requested()) return;
            job = std::move(queue.back());
            queue.pop_back();
            ++running;
        }
        Outcome outcome = process(job, stop);
        const bool write = !outcome.encoded_from.isNull();
        finish(job.key, std::move(outcome.image));
        // After the result is visible: the encode is off the critical path. Done even
        // when stopping; it is a few milliseconds and saves the decode next time.
        if (write)
            if (auto png = detail::encode_png(outcome.encoded_from)) disk.store(job.key, *png);
    }
}

ThumbnailService::ThumbnailService(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

ThumbnailService::~ThumbnailService() {
    {
        std::lock_guard lock(impl_->mutex);
        impl_->queue.clear();
    }
    for (auto& w : impl_->workers) w.request_stop();
    impl_->workers.clear();  // joins
    impl_->idle_cv.notify_all();
}

std::expected<std::unique_ptr<ThumbnailService>, std::string> ThumbnailService::create(
    std::filesystem::path cache_dir, unsigned workers, unsigned size, cache::CacheConfig config) {
    if (workers == 0 || workers > 64) return std::unexpected("thumbnail workers must be 1 to 64");
    if (size == 0 || size > 4096) return std::unexpected("thumbnail size must be 1 to 4096");
    if (cache_dir.empty()) return std::unexpected("thumbnail cache folder is empty");
    std::error_code ec;
    std::filesystem::create_directories(cache_dir, ec);
    if (!std::filesystem::is_directory(cache_dir, ec))
        return std::unexpected("cannot create thumbnail cache folder " + cache_dir.string());
    if (::access(cache_dir.c_str(), W_OK | X_OK) != 0)
        return std::unexpected("thumbnail cache folder is not writable: " + cache_dir.string());

    detail::prime_qt();
    auto impl = std::make_unique<Impl>(std::move(cache_dir), size, config);
    Impl* raw = impl.get();
    try {
        for (unsigned i = 0; i < workers; ++i)
            raw->workers.emplace_back([raw](std::stop_token st) { raw->run(std::move(st)); });
    } catch (const std::system_error& e) {
        for (auto& w : raw->workers) w.request_stop();
        raw->workers.clear();
        return std::unexpected(std::string("cannot start thumbnail workers: ") + e.what());
    }
    return std::unique_ptr<ThumbnailService>(new ThumbnailService(std::move(impl)));
}

void ThumbnailService::request_file(const ThumbKey& key, std::uint8_t category,
                                    std::filesystem::path path) {
    impl_->enqueue(Job{key, category, std::move(path), {}}, FromFile);
}

void ThumbnailService::request_with_preview(const ThumbKey& key, std::uint8_t category,
                                            std::filesystem::path path, PreviewFn preview) {
    const std::uint8_t sources = preview ? FromFile | FromPreview : FromFile;
    impl_->enqueue(Job{key, category, std::move(path), std::move(preview)}, sources);
}

void ThumbnailService::request_preview_only(const ThumbKey& key, std::uint8_t category,
                                            PreviewFn preview) {
    if (!preview) return;
    impl_->enqueue(Job{key, category, std::nullopt, std::move(preview)}, FromPreview);
}

ThumbPoll ThumbnailService::poll(const ThumbKey& key) const {
    std::lock_guard lock(impl_->mutex);
    auto it = impl_->entries.find(key);
    if (it == impl_->entries.end()) return {};
    const Slot& slot = it->second;
    if (slot.in_lru) impl_->lru.splice(impl_->lru.begin(), impl_->lru, slot.lru);
    return {slot.state, slot.image};
}

std::size_t ThumbnailService::pending() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->queue.size() + impl_->running;
}

bool ThumbnailService::block_until_idle(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(impl_->mutex);
    return impl_->idle_cv.wait_for(lock, timeout,
                                   [&] { return impl_->queue.empty() && impl_->running == 0; });
}

void ThumbnailService::set_on_ready(std::function<void()> on_ready) {
    auto fn = on_ready ? std::make_shared<const std::function<void()>>(std::move(on_ready)) : nullptr;
    std::lock_guard lock(impl_->mutex);
    impl_->on_ready = std::move(fn);
}

unsigned ThumbnailService::size() const { return impl_->size; }
const std::filesystem::path& ThumbnailService::cache_dir() const { return impl_->dir; }

}  // namespace thumbnail::service

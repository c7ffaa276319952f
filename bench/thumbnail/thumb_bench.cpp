// thumb_bench generate <folder> <count> <width> <height>: photo-like JPEGs to thumbnail.
// thumb_bench run <folder> <cache_dir> [workers]: thumbnails every .jpg of the folder
// through the service and waits until it is idle; prints the time and the outcome.
#include <QImage>
#include <QImageWriter>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "thumbnail/cache.hpp"
#include "thumbnail/category.hpp"
#include "thumbnail/service.hpp"

namespace fs = std::filesystem;

namespace {

// Smooth gradients, a few soft shapes and sensor-like noise: compresses like a photo.
QImage photo(int w, int h, unsigned seed) {
    QImage img(w, h, QImage::Format_RGB32);
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> u(0.f, 1.f);
    const float a = u(rng) * 6.f, b = u(rng) * 6.f, c = u(rng) * 6.f;
    struct Blob { float x, y, r, cr, cg, cb; };
    std::vector<Blob> blobs;
    for (int i = 0; i < 6; ++i)
        blobs.push_back({u(rng) * w, u(rng) * h, (0.05f + u(rng) * 0.2f) * w, u(rng), u(rng), u(rng)});
    std::uint32_t noise = seed * 2654435761u + 1;
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        const float fy = static_cast<float>(y) / h;
        for (int x = 0; x < w; ++x) {
            const float fx = static_cast<float>(x) / w;
            float r = 0.5f + 0.4f * std::sin(a + fx * 3.f + fy * 1.5f);
            float g = 0.5f + 0.4f * std::sin(b + fy * 4.f - fx);
            float bl = 0.5f + 0.4f * std::cos(c + (fx + fy) * 2.f);
            for (const Blob& k : blobs) {
                const float dx = x - k.x, dy = y - k.y;
                if (std::fabs(dx) > k.r || std::fabs(dy) > k.r) continue;
                const float d2 = (dx * dx + dy * dy) / (k.r * k.r);
                if (d2 < 1.f) {
                    const float t = 1.f - d2;
                    r += (k.cr - r) * t; g += (k.cg - g) * t; bl += (k.cb - bl) * t;
                }
            }
            noise = noise * 1664525u + 1013904223u;
            const float n = (static_cast<float>((noise >> 24) & 0xff) - 127.5f) / 255.f * 0.12f;
            auto px = [&](float v) { return std::clamp(static_cast<int>((v + n) * 255.f), 0, 255); };
            line[x] = qRgb(px(r), px(g), px(bl));
        }
    }
    return img;
}

int generate(const fs::path& dir, int count, int w, int h) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "photo-%03d.jpg", i);
        const fs::path p = dir / name;
        if (fs::exists(p)) continue;
        const fs::path tmp = dir / (std::string(name) + ".part");
        QImageWriter writer(QString::fromStdString(tmp.string()), "jpeg");
        writer.setQuality(90);
        if (!writer.write(photo(w, h, static_cast<unsigned>(i) + 1))) {
            std::fprintf(stderr, "cannot write %s\n", tmp.c_str());
            return 1;
        }
        fs::rename(tmp, p, ec);
    }
    return 0;
}

int run(const fs::path& dir, const fs::path& cache, unsigned workers) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec))
        if (e.path().extension() == ".jpg") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    const auto start = std::chrono::steady_clock::now();
    auto service = thumbnail::service::ThumbnailService::create(cache, workers, 256);
    if (!service) {
        std::fprintf(stderr, "%s\n", service.error().c_str());
        return 1;
    }
    auto& svc = **service;
    std::vector<thumbnail::cache::ThumbKey> keys;
    for (const auto& p : files) {
        struct stat st {};
        ::stat(p.c_str(), &st);
        const auto mtime_ms = static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000 +
                              static_cast<std::uint64_t>(st.st_mtim.tv_nsec) / 1000000;
        keys.push_back(thumbnail::cache::ThumbKey::of_path_meta(
            p, mtime_ms, static_cast<std::uint64_t>(st.st_size), svc.size()));
        svc.request_file(keys.back(), thumbnail::category::category_for_path(p), p);
    }
    if (!svc.block_until_idle(std::chrono::minutes(10))) {
        std::fprintf(stderr, "not idle after 10 minutes\n");
        return 1;
    }
    int ready = 0;
    for (const auto& k : keys)
        if (svc.poll(k).state == thumbnail::service::ThumbState::Ready) ++ready;
    service->reset();  // the disk cache writes finish here; count them in the time
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%zu files, %d ready, %.3f s\n", files.size(), ready, secs);
    return ready == static_cast<int>(files.size()) ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 6 && std::strcmp(argv[1], "generate") == 0)
        return generate(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
    if (argc >= 4 && std::strcmp(argv[1], "run") == 0)
        return run(argv[2], argv[3], argc >= 5 ? static_cast<unsigned>(std::atoi(argv[4])) : 4u);
    std::fprintf(stderr, "usage: thumb_bench generate DIR COUNT W H | run DIR CACHE [WORKERS]\n");
    return 64;
}

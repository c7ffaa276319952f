// The thumbnail service on real files in a temp folder; images are made with Qt here.
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <fstream>
#include <future>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "temp_dir.hpp"
#include "thumbnail/cache.hpp"
#include "thumbnail/category.hpp"
#include "thumbnail/service.hpp"

namespace {

using files::testing::TempDir;
using thumbnail::cache::CacheConfig;
using thumbnail::cache::ThumbKey;
using thumbnail::service::ThumbnailService;
using thumbnail::service::ThumbPoll;
using thumbnail::service::ThumbState;
namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr auto idle_timeout = std::chrono::seconds(30);

QImage gradient(int w, int h, QImage::Format format = QImage::Format_RGB32) {
    QImage img(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 90));
    return img;
}

Bytes encode_gif(const QImage& src);

Bytes encode(const QImage& img, const char* format, int quality = -1) {
    if (std::string_view(format) == "gif") return encode_gif(img);
    QByteArray data;
    QBuffer buf(&data);
    buf.open(QIODevice::WriteOnly);
    QImageWriter writer(&buf, format);
    writer.setQuality(quality);
    EXPECT_TRUE(writer.write(img)) << format << ": " << writer.errorString().toStdString();
    return Bytes(data.begin(), data.end());
}

// Qt reads GIF but cannot write it. Literal codes only, with a clear code before the
// table would widen the codes: large, but valid for any decoder.
Bytes encode_gif(const QImage& src) {
    const QImage img = src.convertToFormat(QImage::Format_RGB32);
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    auto u16 = [&](int v) { out.push_back(static_cast<std::uint8_t>(v)); out.push_back(static_cast<std::uint8_t>(v >> 8)); };
    u16(img.width());
    u16(img.height());
    out.insert(out.end(), {0xf7, 0, 0});  // global table of 256 colours
    for (int i = 0; i < 256; ++i) {       // a 6 x 6 x 6 cube, then black
        const int r = i < 216 ? i / 36 : 0, g = i < 216 ? i / 6 % 6 : 0, b = i < 216 ? i % 6 : 0;
        out.insert(out.end(), {static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                               static_cast<std::uint8_t>(b * 51)});
    }
    out.push_back(',');
    u16(0); u16(0); u16(img.width()); u16(img.height());
    out.push_back(0);
    out.push_back(8);  // minimum code size
    Bytes data;
    std::uint32_t acc = 0;
    int bits = 0;
    auto code = [&](int c) {
        acc |= static_cast<std::uint32_t>(c) << bits;
        bits += 9;
        while (bits >= 8) { data.push_back(static_cast<std::uint8_t>(acc)); acc >>= 8; bits -= 8; }
    };
    int since_clear = 0;
    code(256);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            code((qRed(p) + 25) / 51 * 36 + (qGreen(p) + 25) / 51 * 6 + (qBlue(p) + 25) / 51);
            if (++since_clear == 250) { code(256); since_clear = 0; }
        }
    code(257);
    if (bits > 0) data.push_back(static_cast<std::uint8_t>(acc));
    for (std::size_t i = 0; i < data.size(); i += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - i);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
                   data.begin() + static_cast<std::ptrdiff_t>(i + n));
    }
    out.push_back(0);
    out.push_back(';');
    return out;
}

void write_file(const fs::path& p, const Bytes& b) {
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()),
                                             static_cast<std::streamsize>(b.size()));
}

Bytes read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

ThumbKey key_for(const fs::path& p) {
    std::error_code ec;
    const auto size = fs::is_regular_file(p, ec) ? fs::file_size(p, ec) : 0;
    return ThumbKey::of_path_meta(p, 1, size, 256);
}

ThumbKey key_n(int n) {
    std::array<std::uint8_t, 32> digest{};
    digest[0] = static_cast<std::uint8_t>(n);
    digest[1] = static_cast<std::uint8_t>(n >> 8);
    return ThumbKey::of_digest(digest, 256);
}

std::vector<fs::path> cache_files(const fs::path& dir) {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().extension() == ".png") out.push_back(e.path());
    return out;
}

class ThumbnailTest : public ::testing::Test {
protected:
    std::unique_ptr<ThumbnailService> open(unsigned workers = 4, CacheConfig config = {}) {
        auto svc = ThumbnailService::create(dir / "cache", workers, 256, config);
        EXPECT_TRUE(svc.has_value()) << (svc ? "" : svc.error());
        return svc ? std::move(*svc) : nullptr;
    }
    ThumbPoll finish(ThumbnailService& svc, const ThumbKey& key) {
        EXPECT_TRUE(svc.block_until_idle(idle_timeout));
        return svc.poll(key);
    }
    ThumbPoll thumb_of_file(ThumbnailService& svc, const fs::path& p) {
        const auto key = key_for(p);
        svc.request_file(key, thumbnail::category::category_for_path(p), p);
        return finish(svc, key);
    }

    TempDir dir{"thumbnail-test"};
};

// Red, green, blue of the pixel at (x, y).
std::array<int, 4> rgba_at(const thumbnail::service::RgbaImage& img, std::uint32_t x, std::uint32_t y) {
    const auto* p = img.pixels.data() + (std::size_t{y} * img.width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

TEST(Category, ByExtension) {
    using thumbnail::category::category_for_path;
    const struct {
        const char* name;
        int category;
    } cases[] = {
        {"sunset.png", 0},       {"IMG_1.JPG", 0},          {"launch-clip.mp4", 1},
        {"theme.mp3", 2},        {"Field guide.pdf", 3},    {"release.zip", 4},
        {"src.tar.gz", 4},       {"Report.docx", 5},        {"Budget.xlsx", 6},
        {"deck.pptx", 7},        {"The Lantern-Keeper.epub", 8}, {"main.cpp", 9},
        {"config.json", 9},      {"README.md", 10},         {"notes.txt", 10},
        {"Inter.ttf", 11},       {"dataset.parquet", 12},   {"Makefile", 12},
        {".bashrc", 12},         {"trailing.", 12},         {"dir.d/noext", 12},
    };
    for (const auto& c : cases) EXPECT_EQ(category_for_path(c.name), c.category) << c.name;
    EXPECT_LT(category_for_path("x.png"), thumbnail::category::category_count);
}

TEST(Key, EveryInputCounts) {
    const auto base = ThumbKey::of_path_meta("/a/b.png", 1000, 10, 256);
    EXPECT_EQ(base, ThumbKey::of_path_meta("/a/b.png", 1000, 10, 256));
    EXPECT_EQ(std::hash<ThumbKey>{}(base),
              std::hash<ThumbKey>{}(ThumbKey::of_path_meta("/a/b.png", 1000, 10, 256)));
    EXPECT_NE(base, ThumbKey::of_path_meta("/a/c.png", 1000, 10, 256));
    EXPECT_NE(base, ThumbKey::of_path_meta("/a/b.png", 1001, 10, 256));
    EXPECT_NE(base, ThumbKey::of_path_meta("/a/b.png", 1000, 11, 256));
    EXPECT_NE(base, ThumbKey::of_path_meta("/a/b.png", 1000, 10, 128));
    std::array<std::uint8_t, 32> digest{};
    EXPECT_EQ(ThumbKey::of_digest(digest, 256), ThumbKey::of_digest(digest, 256));
    EXPECT_NE(ThumbKey::of_digest(digest, 256), ThumbKey::of_digest(digest, 128));
    digest[31] = 1;
    EXPECT_NE(ThumbKey::of_digest(digest, 256), key_n(0));
    const std::string hex = base.hex();
    EXPECT_EQ(hex.size(), 64u);
    EXPECT_EQ(hex.find_first_not_of("0123456789abcdef"), std::string::npos);
}

TEST_F(ThumbnailTest, CreateValidatesAndMakesTheFolder) {
    EXPECT_FALSE(ThumbnailService::create(dir / "c", 0, 256).has_value());
    EXPECT_FALSE(ThumbnailService::create(dir / "c", 4, 0).has_value());
    dir.write("plain", "x");
    EXPECT_FALSE(ThumbnailService::create(dir / "plain" / "cache", 4, 256).has_value());
    auto svc = ThumbnailService::create(dir / "deep" / "er" / "cache", 4, 256);
    ASSERT_TRUE(svc.has_value());
    EXPECT_TRUE(fs::is_directory(dir / "deep" / "er" / "cache"));
    EXPECT_EQ((*svc)->size(), 256u);
    EXPECT_EQ((*svc)->pending(), 0u);
    EXPECT_TRUE((*svc)->block_until_idle(std::chrono::milliseconds(0)));
}

TEST_F(ThumbnailTest, DecodesEachFormatToFitTheBox) {
    const struct {
        const char* name;
        const char* format;
        int w, h;
        std::uint32_t want_w, want_h;
    } cases[] = {
        {"a.png", "png", 640, 480, 256, 192},   {"b.jpg", "jpeg", 480, 640, 192, 256},
        {"c.gif", "gif", 600, 600, 256, 256},   {"d.bmp", "bmp", 720, 480, 256, 171},
        {"e.webp", "webp", 640, 480, 256, 192}, {"small.png", "png", 100, 50, 100, 50},
        {"misnamed.txt", "png", 300, 100, 256, 85},
    };
    auto svc = open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string_view(c.format) != "gif" &&
            !QImageWriter::supportedImageFormats().contains(c.format)) {
            ADD_FAILURE() << "no Qt writer for " << c.format << " (qt6-image-formats-plugins)";
            continue;
        }
        write_file(dir / c.name, encode(gradient(c.w, c.h), c.format, 90));
        const auto got = thumb_of_file(*svc, dir / c.name);
        ASSERT_EQ(got.state, ThumbState::Ready);
        ASSERT_TRUE(got.image);
        EXPECT_EQ(got.image->width, c.want_w);
        EXPECT_EQ(got.image->height, c.want_h);
        EXPECT_EQ(got.image->pixels.size(), std::size_t{c.want_w} * c.want_h * 4);
        // Bottom right of the gradient is red and green, top left neither.
        const auto br = rgba_at(*got.image, c.want_w - 1, c.want_h - 1);
        const auto tl = rgba_at(*got.image, 0, 0);
        EXPECT_GT(br[0], 200);
        EXPECT_LT(tl[0], 40);
        EXPECT_EQ(br[3], 255);
    }
}

TEST_F(ThumbnailTest, PixelsAreStraightAlpha) {
    QImage img(8, 8, QImage::Format_ARGB32);
    img.fill(QColor(200, 100, 50, 128));
    write_file(dir / "half.png", encode(img, "png"));
    auto svc = open();
    const auto got = thumb_of_file(*svc, dir / "half.png");
    ASSERT_EQ(got.state, ThumbState::Ready);
    const auto px = rgba_at(*got.image, 4, 4);
    EXPECT_NEAR(px[0], 200, 2);
    EXPECT_NEAR(px[1], 100, 2);
    EXPECT_NEAR(px[2], 50, 2);
    EXPECT_EQ(px[3], 128);
}

// With the reader's allocation limit far below a full-size decode (48 MB), only a
// scaled decode can succeed.
TEST_F(ThumbnailTest, LargeJpegIsDecodedScaled) {
    write_file(dir / "big.jpg", encode(gradient(4000, 3000), "jpeg", 85));
    const int old_limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(8);
    {
        QImageReader full(QString::fromStdString((dir / "big.jpg").string()));
        EXPECT_TRUE(full.read().isNull()) << "the limit should stop a full-size decode";
        auto svc = open();
        const auto got = thumb_of_file(*svc, dir / "big.jpg");
        ASSERT_EQ(got.state, ThumbState::Ready);
        EXPECT_EQ(got.image->width, 256u);
        EXPECT_EQ(got.image->height, 192u);
    }
    QImageReader::setAllocationLimit(old_limit);
}

TEST_F(ThumbnailTest, ExifOrientationIsApplied) {
    QByteArray data;
    QBuffer buf(&data);
    buf.open(QIODevice::WriteOnly);
    QImageWriter writer(&buf, "jpeg");
    if (!writer.supportsOption(QImageIOHandler::ImageTransformation))
        GTEST_SKIP() << "this Qt cannot write EXIF orientation";
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    ASSERT_TRUE(writer.write(gradient(1200, 600)));
    write_file(dir / "rotated.jpg", Bytes(data.begin(), data.end()));
    auto svc = open();
    const auto got = thumb_of_file(*svc, dir / "rotated.jpg");
    ASSERT_EQ(got.state, ThumbState::Ready);
    EXPECT_EQ(got.image->width, 128u);
    EXPECT_EQ(got.image->height, 256u);
}

TEST_F(ThumbnailTest, RequestsForOneKeyAreDeduplicated) {
    auto svc = open();
    std::atomic<int> calls{0};
    std::promise<void> release;
    std::shared_future<void> gate = release.get_future().share();
    const Bytes png = encode(gradient(112, 84), "png");
    std::atomic<int> ready_calls{0};
    svc->set_on_ready([&] { ++ready_calls; });
    const auto key = key_n(1);
    for (int i = 0; i < 5; ++i)
        svc->request_preview_only(key, 0, [&]() -> std::optional<Bytes> {
            ++calls;
            gate.wait();
            return png;
        });
    EXPECT_EQ(svc->pending(), 1u);
    EXPECT_EQ(svc->poll(key).state, ThumbState::Pending);
    EXPECT_FALSE(svc->block_until_idle(std::chrono::milliseconds(50)));
    release.set_value();
    const auto got = finish(*svc, key);
    EXPECT_EQ(got.state, ThumbState::Ready);
    EXPECT_EQ(got.image->width, 112u);
    EXPECT_EQ(calls.load(), 1);
    EXPECT_EQ(ready_calls.load(), 1);
    svc->request_preview_only(key, 0, [&]() -> std::optional<Bytes> { ++calls; return png; });
    EXPECT_EQ(svc->pending(), 0u);
    EXPECT_EQ(calls.load(), 1);
}

TEST_F(ThumbnailTest, StoredPreviewIsReadOnlyWhenNeeded) {
    write_file(dir / "real.png", encode(gradient(640, 480), "png"));
    dir.create_files({"empty.jpg"});
    const Bytes preview = encode(gradient(112, 84), "png");
    auto svc = open();
    std::atomic<int> calls{0};
    auto reader = [&]() -> std::optional<Bytes> { ++calls; return preview; };

    // The local file decodes: the preview is never asked for.
    const auto real_key = key_for(dir / "real.png");
    svc->request_with_preview(real_key, 0, dir / "real.png", reader);
    EXPECT_EQ(finish(*svc, real_key).image->width, 256u);
    EXPECT_EQ(calls.load(), 0);

    // The file gives nothing (empty, like a projected file): the preview is used.
    const auto empty_key = key_for(dir / "empty.jpg");
    svc->request_with_preview(empty_key, 0, dir / "empty.jpg", reader);
    const auto got = finish(*svc, empty_key);
    ASSERT_EQ(got.state, ThumbState::Ready);
    EXPECT_EQ(got.image->width, 112u);
    EXPECT_EQ(got.image->height, 84u);
    EXPECT_EQ(calls.load(), 1);
}

TEST_F(ThumbnailTest, PreviewOnlyFailuresAndANewSource) {
    write_file(dir / "pic.png", encode(gradient(64, 64), "png"));
    auto svc = open();
    const struct {
        const char* what;
        std::optional<Bytes> bytes;
    } cases[] = {
        {"absent", std::nullopt},
        {"empty", Bytes{}},
        {"garbage", Bytes{'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'}},
    };
    int n = 100;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto key = key_n(++n);
        svc->request_preview_only(key, 0, [&] { return c.bytes; });
        EXPECT_EQ(finish(*svc, key).state, ThumbState::Failed);
        // The same source again stays failed; a file source gets its chance.
        svc->request_preview_only(key, 0, [&] { return c.bytes; });
        EXPECT_EQ(svc->pending(), 0u);
        svc->request_with_preview(key, 0, dir / "pic.png", [&] { return c.bytes; });
        EXPECT_EQ(finish(*svc, key).state, ThumbState::Ready);
    }
    svc->request_preview_only(key_n(1), 0, [] () -> std::optional<Bytes> { throw std::runtime_error("boom"); });
    EXPECT_EQ(finish(*svc, key_n(1)).state, ThumbState::Failed);
}

TEST_F(ThumbnailTest, DiskCacheServesAfterRestart) {
    write_file(dir / "photo.jpg", encode(gradient(800, 600), "jpeg", 90));
    const auto key = key_for(dir / "photo.jpg");
    {
        auto svc = open();
        EXPECT_EQ(thumb_of_file(*svc, dir / "photo.jpg").state, ThumbState::Ready);
    }
    ASSERT_EQ(cache_files(dir / "cache").size(), 1u);
    EXPECT_EQ(cache_files(dir / "cache")[0].filename(), key.hex() + ".png");
    fs::remove(dir / "photo.jpg");
    auto svc = open();
    svc->request_file(key, 0, dir / "photo.jpg");
    const auto got = finish(*svc, key);
    ASSERT_EQ(got.state, ThumbState::Ready);
    EXPECT_EQ(got.image->width, 256u);
    EXPECT_EQ(got.image->height, 192u);
}

TEST_F(ThumbnailTest, CorruptCacheFileIsMadeAgain) {
    write_file(dir / "photo.png", encode(gradient(800, 600), "png"));
    const auto key = key_for(dir / "photo.png");
    {
        auto svc = open();
        thumb_of_file(*svc, dir / "photo.png");
    }
    const auto cached = dir / "cache" / (key.hex() + ".png");
    const Bytes good = read_file(cached);
    const struct {
        const char* what;
        Bytes bytes;
    } corruptions[] = {
        {"garbage", Bytes(100, 0x55)},
        {"truncated", Bytes(good.begin(), good.begin() + 60)},
        {"too large", encode(gradient(300, 300), "png")},
    };
    for (const auto& c : corruptions) {
        SCOPED_TRACE(c.what);
        write_file(cached, c.bytes);
        auto svc = open();
        const auto got = thumb_of_file(*svc, dir / "photo.png");
        ASSERT_EQ(got.state, ThumbState::Ready);
        EXPECT_EQ(got.image->width, 256u);
        svc.reset();
        EXPECT_EQ(QImage(QString::fromStdString(cached.string())).size(), QSize(256, 192));
    }
    // Corrupt and no source left: fails, and the bad file is gone.
    write_file(cached, Bytes(100, 0x55));
    fs::remove(dir / "photo.png");
    auto svc = open();
    svc->request_file(key, 0, dir / "photo.png");
    EXPECT_EQ(finish(*svc, key).state, ThumbState::Failed);
    EXPECT_FALSE(fs::exists(cached));
}

TEST_F(ThumbnailTest, BadFilesFailQuietly) {
    const Bytes png = encode(gradient(300, 200), "png");
    const Bytes jpeg = encode(gradient(300, 200), "jpeg");
    dir.create_files({"empty.png", "folder.png/"});
    dir.write("garbage.png", std::string(5000, 'g'));
    dir.write("text.md", "# Readme");
    dir.write("release.zip", std::string("PK\x03\x04", 4));
    dir.write("header-only.pdf", "%PDF-1.4\n");
    dir.write("fake.epub", std::string("PK\x03\x04", 4) + std::string(200, 'x'));
    write_file(dir / "cut.png", Bytes(png.begin(), png.begin() + 40));
    write_file(dir / "cut.jpg", Bytes(jpeg.begin(), jpeg.begin() + 100));
    ASSERT_EQ(::mkfifo((dir / "pipe.jpg").c_str(), 0600), 0);
    auto svc = open();
    for (const char* name : {"empty.png", "folder.png", "garbage.png", "text.md", "release.zip",
                             "header-only.pdf", "fake.epub", "cut.png", "cut.jpg", "pipe.jpg",
                             "missing.png"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(thumb_of_file(*svc, dir / name).state, ThumbState::Failed);
    }
}

TEST_F(ThumbnailTest, MutatedImagesNeverCrash) {
    const Bytes seeds[] = {
        encode(gradient(120, 90), "png"), encode(gradient(120, 90), "jpeg"),
        encode(gradient(120, 90), "gif"), encode(gradient(120, 90), "bmp"),
    };
    std::mt19937 rng(7);
    auto svc = open();
    std::vector<ThumbKey> keys;
    for (int i = 0; i < 120; ++i) {
        Bytes b = seeds[i % 4];
        std::uniform_int_distribution<std::size_t> at(0, b.size() - 1);
        if (i % 3 == 0) b.resize(at(rng));
        for (int flips = 0; flips < 1 + i % 7 && !b.empty(); ++flips)
            b[std::uniform_int_distribution<std::size_t>(0, b.size() - 1)(rng)] =
                static_cast<std::uint8_t>(rng());
        keys.push_back(key_n(1000 + i));
        svc->request_preview_only(keys.back(), 0, [b] { return std::optional<Bytes>(b); });
    }
    ASSERT_TRUE(svc->block_until_idle(idle_timeout));
    for (const auto& k : keys) {
        const auto got = svc->poll(k);
        ASSERT_NE(got.state, ThumbState::Pending);
        if (got.state == ThumbState::Ready) {
            EXPECT_LE(std::max(got.image->width, got.image->height), 256u);
            EXPECT_EQ(got.image->pixels.size(), std::size_t{got.image->width} * got.image->height * 4);
        }
    }
}

TEST_F(ThumbnailTest, MemoryKeepsTheMostRecentAndDiskServesTheRest) {
    auto svc = open(1, CacheConfig{2, 4096});
    const Bytes png = encode(gradient(50, 40), "png");
    std::atomic<int> calls{0};
    auto reader = [&]() -> std::optional<Bytes> { ++calls; return png; };
    for (int i = 0; i < 3; ++i) {
        svc->request_preview_only(key_n(i), 0, reader);
        ASSERT_TRUE(svc->block_until_idle(idle_timeout));
    }
    svc->poll(key_n(1));  // polled last: kept over key 2 below
    EXPECT_EQ(svc->poll(key_n(0)).state, ThumbState::Absent);
    svc->request_preview_only(key_n(0), 0, reader);
    EXPECT_EQ(finish(*svc, key_n(0)).state, ThumbState::Ready);
    EXPECT_EQ(calls.load(), 3) << "the evicted thumbnail came back from disk";
    EXPECT_EQ(svc->poll(key_n(1)).state, ThumbState::Ready);
    EXPECT_EQ(svc->poll(key_n(2)).state, ThumbState::Absent);
}

TEST_F(ThumbnailTest, DiskCacheDropsTheOldestFiles) {
    const Bytes png = encode(gradient(50, 40), "png");
    {
        auto svc = open(1, CacheConfig{512, 4});
        for (int i = 0; i < 10; ++i) {
            svc->request_preview_only(key_n(i), 0, [&] { return std::optional<Bytes>(png); });
            ASSERT_TRUE(svc->block_until_idle(idle_timeout));
        }
    }
    const auto files = cache_files(dir / "cache");
    EXPECT_LE(files.size(), 4u);
    EXPECT_GE(files.size(), 1u);
    EXPECT_TRUE(fs::exists(dir / "cache" / (key_n(9).hex() + ".png")));
}

TEST_F(ThumbnailTest, DestroyingDropsQueuedWork) {
    write_file(dir / "pic.png", encode(gradient(1500, 1500), "png"));
    auto svc = open(1);
    for (int i = 0; i < 200; ++i)
        svc->request_file(ThumbKey::of_path_meta(dir / "pic.png", 1, static_cast<std::uint64_t>(i), 256),
                          0, dir / "pic.png");
    EXPECT_GT(svc->pending(), 0u);
    svc.reset();
    EXPECT_LT(cache_files(dir / "cache").size(), 200u);
}

#ifdef THUMBNAIL_TEST_PDF
std::string demo_pdf(const std::string& title) {
    const std::string content = "0.97 0.98 0.99 rg 0 0 300 400 re f\n0.24 0.48 0.92 rg 0 340 300 60 re f\n"
                                "1 1 1 rg BT /F1 22 Tf 20 356 Td (" + title + ") Tj ET\n";
    const std::string objects[] = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 400] /Resources << /Font << /F1 5 0 R >> >> "
        "/Contents 4 0 R >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    };
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < std::size(objects); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 6\n0000000000 65535 f \n";
    for (auto o : offsets) {
        char line[32];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", o);
        pdf += line;
    }
    pdf += "trailer\n<< /Size 6 /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

TEST_F(ThumbnailTest, PdfShowsItsFirstPage) {
    dir.write("Field guide.pdf", demo_pdf("Field Guide"));
    auto svc = open();
    const auto got = thumb_of_file(*svc, dir / "Field guide.pdf");
    ASSERT_EQ(got.state, ThumbState::Ready);
    EXPECT_EQ(got.image->width, 192u);
    EXPECT_EQ(got.image->height, 256u);
    const auto band = rgba_at(*got.image, 4, 4);  // the blue band at the top
    EXPECT_NEAR(band[0], 61, 12);
    EXPECT_NEAR(band[2], 235, 12);
    const auto page = rgba_at(*got.image, 96, 200);
    EXPECT_GT(page[0], 235);
}
#endif

#ifdef THUMBNAIL_TEST_EPUB
struct Member {
    std::string name;
    std::string body;
};

void write_zip(const fs::path& p, const std::vector<Member>& members) {
    archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    ASSERT_EQ(archive_write_open_filename(a, p.c_str()), ARCHIVE_OK);
    for (const auto& m : members) {
        archive_entry* e = archive_entry_new();
        archive_entry_set_pathname(e, m.name.c_str());
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        archive_entry_set_size(e, static_cast<la_int64_t>(m.body.size()));
        archive_write_header(a, e);
        archive_write_data(a, m.body.data(), m.body.size());
        archive_entry_free(e);
    }
    archive_write_close(a);
    archive_write_free(a);
}

std::string png_text(int w, int h, QColor colour) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    const Bytes b = encode(img, "png");
    return std::string(b.begin(), b.end());
}

TEST_F(ThumbnailTest, EpubShowsItsCover) {
    const std::string container =
        R"(<?xml version="1.0"?><container version="1.0" xmlns="urn:oasis:names:tc:opendocument:xmlns:container">)"
        R"(<rootfiles><rootfile full-path="OEBPS/content.opf" media-type="application/oebps-package+xml"/>)"
        R"(</rootfiles></container>)";
    auto opf = [](const std::string& metadata, const std::string& items) {
        return R"(<?xml version="1.0"?><package xmlns="http://www.idpf.org/2007/opf" version="3.0">)"
               R"(<metadata xmlns:dc="http://purl.org/dc/elements/1.1/"><dc:title>The Lantern-Keeper</dc:title>)" +
               metadata + "</metadata><manifest>" + items +
               R"(<item id="c1" href="ch1.xhtml" media-type="application/xhtml+xml"/></manifest>)"
               R"(<spine><itemref idref="c1"/></spine></package>)";
    };
    const std::string cover = png_text(300, 440, QColor(200, 30, 30));
    const std::string other = png_text(100, 100, QColor(30, 30, 200));
    const struct {
        const char* what;
        std::vector<Member> members;
    } books[] = {
        {"epub 3 cover-image",
         {{"mimetype", "application/epub+zip"},
          {"META-INF/container.xml", container},
          {"OEBPS/content.opf",
           opf("", R"(<item id="cover" href="cover.png" media-type="image/png" properties="cover-image"/>)")},
          {"OEBPS/ch1.xhtml", "<html><body><p>Chapter one.</p></body></html>"},
          {"OEBPS/cover.png", cover}}},
        {"epub 2 meta, cover after other images, escaped href",
         {{"mimetype", "application/epub+zip"},
          {"OEBPS/images/other.png", other},
          {"OEBPS/images/the cover.png", cover},
          {"OEBPS/content.opf",
           opf(R"(<meta name="cover" content="img2"/>)",
               R"(<item id="img1" href="images/other.png" media-type="image/png"/>)"
               R"(<item id="img2" href="./images/the%20cover.png" media-type="image/png"/>)")},
          {"META-INF/container.xml", container}}},
        {"no package: the first image",
         {{"mimetype", "application/epub+zip"}, {"art/cover.png", cover}, {"art/z.png", other}}},
    };
    auto svc = open();
    int n = 0;
    for (const auto& book : books) {
        SCOPED_TRACE(book.what);
        const auto path = dir / ("book" + std::to_string(++n) + ".epub");
        write_zip(path, book.members);
        const auto got = thumb_of_file(*svc, path);
        ASSERT_EQ(got.state, ThumbState::Ready);
        EXPECT_EQ(got.image->width, 175u);
        EXPECT_EQ(got.image->height, 256u);
        EXPECT_GT(rgba_at(*got.image, 80, 120)[0], 180);
    }
}
#endif

}  // namespace

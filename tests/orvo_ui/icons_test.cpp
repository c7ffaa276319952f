#include <orvo_ui/icons.hpp>
#include <orvo_ui/offscreen.hpp>
#include <orvo_ui/painter.hpp>
#include <orvo_ui/text.hpp>

#include <gtest/gtest.h>

#include "temp_dir.hpp"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace orvo_ui;
using icons::Builtin;

constexpr Color kGround = Color::rgb(0xffffff);

struct Shot {
    Image image;
    int pad = 0;
    int size = 0;
    float scale = 1;
};

// One icon on a white ground with a margin around its square.
Shot render(const icons::Icon& icon, int size, Color color, icons::Source source, float scale = 1) {
    static TextRenderer text;
    int pad = 6;
    OffscreenRenderer r(size + 2 * pad, size + 2 * pad, scale);
    auto img = r.render_resilient(text, [&](Painter& p) {
        icons::draw_icon(p, icon, Rect::from_xywh(float(pad), float(pad), float(size), float(size)), color, source);
    });
    EXPECT_TRUE(img.has_value()) << (img ? "" : img.error());
    return {img ? *img : Image{}, pad, size, scale};
}

struct Coverage {
    int inside = 0;
    int outside = 0;
};

Coverage coverage(const Shot& s) {
    Coverage c;
    int lo = int(float(s.pad) * s.scale), hi = int(float(s.pad + s.size) * s.scale);
    for (int y = 0; y < s.image.height(); ++y)
        for (int x = 0; x < s.image.width(); ++x) {
            if (s.image.pixel(x, y) == kGround) continue;
            (x >= lo && x < hi && y >= lo && y < hi ? c.inside : c.outside)++;
        }
    return c;
}

bool same_pixels(const Image& a, const Image& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
    return true;
}

std::string label(Builtin b) { return std::string(icons::builtin_name(b)); }

TEST(Icons, EveryBuiltinPaintsInsideItsSquareOnly) {
    struct Case {
        int size;
        float scale;
        Color color;
    };
    const Case cases[] = {
        {16, 1, Color::rgb(0x2e3440)},
        {24, 1, Color::rgb(0x2e3440)},
        {48, 1, Color::rgb(0x2e3440)},
        {24, 2, Color::rgb(0x2e3440)},
        {24, 1, Color::rgba(0x2e3440, 150)},  // translucent glyphs go through a layer
    };
    ASSERT_EQ(icons::all_builtins().size(), size_t(Builtin::Share) + 1);
    for (Builtin b : icons::all_builtins())
        for (const auto& k : cases) {
            auto cov = coverage(render(icons::builtin(b), k.size, k.color, icons::Source::BuiltinOnly, k.scale));
            SCOPED_TRACE(label(b) + " at " + std::to_string(k.size) + "px x" + std::to_string(k.scale));
            EXPECT_GT(cov.inside, k.size * k.size / 40);
            EXPECT_EQ(cov.outside, 0);
        }
}

TEST(Icons, GlyphsTakeTheColourOthersKeepTheirOwn) {
    for (Builtin b : icons::all_builtins()) {
        auto red = render(icons::builtin(b), 24, Color::rgb(0xff0000), icons::Source::BuiltinOnly);
        auto blue = render(icons::builtin(b), 24, Color::rgb(0x0000ff), icons::Source::BuiltinOnly);
        SCOPED_TRACE(label(b));
        EXPECT_EQ(!same_pixels(red.image, blue.image), icons::is_glyph(b));
        if (!icons::is_glyph(b)) continue;
        // Only blends of the colour and the ground: no other hue sneaks in.
        for (int y = 0; y < red.image.height(); ++y)
            for (int x = 0; x < red.image.width(); ++x) {
                Color c = red.image.pixel(x, y);
                ASSERT_EQ(c.r, 255);
                ASSERT_EQ(c.g, c.b);
            }
    }
}

TEST(Icons, MimeTypesMapToKindsAndThemeNames) {
    struct Case {
        const char* mime;
        bool is_dir;
        Builtin kind;
        const char* theme;
        const char* generic;
    };
    const Case cases[] = {
        {"text/plain", false, Builtin::Text, "text-plain", "text-x-generic"},
        {"text/plain; charset=utf-8", false, Builtin::Text, "text-plain", "text-x-generic"},
        {"TEXT/Markdown", false, Builtin::Text, "text-markdown", "text-x-generic"},
        {"text/x-python", false, Builtin::Code, "text-x-python", "text-x-script"},
        {"text/x-c++src", false, Builtin::Code, "text-x-c++src", "text-x-script"},
        {"application/json", false, Builtin::Code, "application-json", "text-x-script"},
        {"image/svg+xml", false, Builtin::Image, "image-svg+xml", "image-x-generic"},
        {"image/png", false, Builtin::Image, "image-png", "image-x-generic"},
        {"audio/flac", false, Builtin::Audio, "audio-flac", "audio-x-generic"},
        {"video/x-matroska", false, Builtin::Video, "video-x-matroska", "video-x-generic"},
        {"application/pdf", false, Builtin::Pdf, "application-pdf", ""},
        {"application/zip", false, Builtin::Archive, "application-zip", "package-x-generic"},
        {"application/x-tar", false, Builtin::Archive, "application-x-tar", "package-x-generic"},
        {"application/gzip", false, Builtin::Archive, "application-gzip", "package-x-generic"},
        {"application/x-7z-compressed", false, Builtin::Archive, "application-x-7z-compressed", "package-x-generic"},
        {"application/x-compressed-tar", false, Builtin::Archive, "application-x-compressed-tar", "package-x-generic"},
        {"application/x-zstd-compressed-tar", false, Builtin::Archive, "application-x-zstd-compressed-tar",
         "package-x-generic"},
        {"application/vnd.oasis.opendocument.spreadsheet", false, Builtin::Spreadsheet,
         "application-vnd.oasis.opendocument.spreadsheet", "x-office-spreadsheet"},
        {"text/csv", false, Builtin::Spreadsheet, "text-csv", "x-office-spreadsheet"},
        {"application/vnd.openxmlformats-officedocument.presentationml.presentation", false, Builtin::Presentation,
         "application-vnd.openxmlformats-officedocument.presentationml.presentation", "x-office-presentation"},
        {"application/msword", false, Builtin::Document, "application-msword", "x-office-document"},
        {"font/woff2", false, Builtin::Font, "font-woff2", "font-x-generic"},
        {"application/x-executable", false, Builtin::Executable, "application-x-executable", "application-x-executable"},
        {"application/x-sharedlib", false, Builtin::Executable, "application-x-sharedlib", "application-x-executable"},
        {"application/x-shellscript", false, Builtin::Executable, "application-x-shellscript",
         "application-x-executable"},
        {"inode/symlink", false, Builtin::Link, "inode-symlink", ""},
        {"application/octet-stream", false, Builtin::File, "application-octet-stream", "application-x-generic"},
        {"", false, Builtin::File, "", "application-x-generic"},
        {"", true, Builtin::Folder, "folder", "folder"},
        {"inode/directory", true, Builtin::Folder, "folder", "folder"},
    };
    for (const auto& c : cases) {
        auto icon = icons::icon_for_mime(c.mime, c.is_dir);
        SCOPED_TRACE(std::string(c.mime) + (c.is_dir ? " (folder)" : ""));
        EXPECT_EQ(icon.builtin, c.kind);
        EXPECT_EQ(icon.theme_name, c.theme);
        EXPECT_EQ(icon.generic_name, c.generic);
    }
}

TEST(Icons, PathsUseUserFolderRolesAndExtensions) {
    files::testing::TempDir home("icons-home");
    home.create_files({"Docs/", "Pics/", "Work/", ".config/"});
    home.write(".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\nXDG_PICTURES_DIR=\"$HOME/Pics\"\n");
    // The user folders are read once per process, so these must be in place before the first look.
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    unsetenv("ORVO_HOME");
    struct Case {
        std::filesystem::path path;
        bool is_dir;
        Builtin kind;
        const char* theme;
    };
    const Case cases[] = {
        {home.path(), true, Builtin::Home, "user-home"},
        {home / "Docs", true, Builtin::Documents, "folder-documents"},
        {home / "Pics/", true, Builtin::Pictures, "folder-pictures"},
        {home / "Work", true, Builtin::Folder, "folder"},
        {home / "Work/report.PDF", false, Builtin::Pdf, "application-pdf"},
        {home / "Work/main.cpp", false, Builtin::Code, "text-x-c++src"},
        {home / "Work/backup.tar.gz", false, Builtin::Archive, "application-gzip"},
        {home / "Work/notes", false, Builtin::File, "application-octet-stream"},
    };
    for (const auto& c : cases) {
        auto icon = icons::icon_for_path(c.path, c.is_dir);
        SCOPED_TRACE(c.path.string());
        EXPECT_EQ(icon.builtin, c.kind);
        EXPECT_EQ(icon.theme_name, c.theme);
    }
}

TEST(Icons, FoldersComeFromTheThemeFileKindsStayBuiltIn) {
    struct Case {
        icons::Icon icon;
        bool themed;  // drawn from the theme when the theme has the name
    };
    const Case cases[] = {
        {icons::icon_for_mime("", true), true},
        {icons::Icon{Builtin::Documents, "folder-documents", "folder"}, true},
        {icons::Icon{Builtin::Home, "user-home", "folder"}, true},
        {icons::Icon{Builtin::Folder, "folder-made-up-name", "folder"}, true},
        {icons::Icon{Builtin::Folder, "folder-made-up-name", ""}, false},
        {icons::icon_for_mime("text/plain", false), false},
        {icons::icon_for_mime("application/x-executable", false), false},
        {icons::builtin(Builtin::Home), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.icon.theme_name + " / " + label(c.icon.builtin));
        auto themed = render(c.icon, 24, Color::rgb(0x2e3440), icons::Source::Auto);
        auto built = render(c.icon, 24, Color::rgb(0x2e3440), icons::Source::BuiltinOnly);
        auto cov = coverage(themed);
        EXPECT_GT(cov.inside, 24 * 24 / 10);
        EXPECT_EQ(cov.outside, 0);
        bool installed = icons::theme_has(c.icon.theme_name) || icons::theme_has(c.icon.generic_name);
        EXPECT_EQ(same_pixels(themed.image, built.image), !(c.themed && installed));
    }
    auto folder = icons::icon_for_mime("", true);
    if (!icons::theme_has("folder")) GTEST_SKIP() << "no icon theme with a folder icon is installed";
    setenv("ORVO_UI_BUILTIN_ICONS", "1", 1);
    auto forced = render(folder, 48, {}, icons::Source::Auto);
    unsetenv("ORVO_UI_BUILTIN_ICONS");
    EXPECT_TRUE(same_pixels(forced.image, render(folder, 48, {}, icons::Source::BuiltinOnly).image));
}

// ORVO_ICONS_SHEET=<folder> writes contact sheets there for a look by eye.
TEST(Icons, ContactSheet) {
    const char* out = std::getenv("ORVO_ICONS_SHEET");
    if (!out) GTEST_SKIP() << "set ORVO_ICONS_SHEET to a folder to write the contact sheets";
    static TextRenderer text;
    const int sizes[] = {16, 18, 24, 32, 48, 64};
    const int label_w = 110, cell_h = 76, cols = 3;
    int cell_w = label_w + 16 + 18 + 24 + 32 + 48 + 64 + 6 * 10;
    auto all = icons::all_builtins();
    int rows = int((all.size() + cols - 1) / cols);
    struct Ground {
        const char* name;
        Color bg, fg, glyph;
    };
    const Ground grounds[] = {{"light", Color::rgb(0xfafafb), Color::rgb(0x30343b), Color::rgb(0x3b414b)},
                              {"dark", Color::rgb(0x24262b), Color::rgb(0xe6e8ec), Color::rgb(0xdfe2e7)}};
    for (const auto& g : grounds) {
        OffscreenRenderer r(cols * cell_w, rows * cell_h);
        auto img = r.render_resilient(text, [&](Painter& p) {
            p.fill_rect(Rect::from_xywh(0, 0, float(cols * cell_w), float(rows * cell_h)), g.bg);
            for (size_t i = 0; i < all.size(); ++i) {
                float x = float(int(i) / rows * cell_w), y = float(int(i) % rows * cell_h);
                p.text(icons::builtin_name(all[i]), Rect::from_xywh(x + 8, y, label_w - 8, cell_h), {12}, g.fg,
                       HAlign::Left);
                x += label_w;
                for (int s : sizes) {
                    icons::draw_icon(p, icons::builtin(all[i]), Rect::from_xywh(x, y + (cell_h - s) / 2.0f, s, s),
                                     g.glyph, icons::Source::BuiltinOnly);
                    x += float(s + 10);
                }
            }
        });
        ASSERT_TRUE(img.has_value());
        auto png = encode_png(*img);
        ASSERT_TRUE(png.has_value());
        ASSERT_TRUE(publish_atomically(std::filesystem::path(out) / (std::string("icons-") + g.name + ".png"), *png));
    }
    // Theme against built-in, side by side, for the kinds a listing shows.
    const char* mimes[] = {"", "text/plain", "image/png", "audio/mpeg", "video/mp4", "application/zip",
                           "application/pdf", "text/x-python", "text/csv", "application/vnd.oasis.opendocument.presentation",
                           "application/msword", "font/ttf", "application/x-executable", "inode/symlink",
                           "application/octet-stream"};
    int n = int(std::size(mimes));
    OffscreenRenderer r(4 * 70 + 20, n * 56 + 10);
    auto img = r.render_resilient(text, [&](Painter& p) {
        p.fill_rect(Rect::from_xywh(0, 0, 4 * 70 + 20, float(n * 56 + 10)), Color::rgb(0xfafafb));
        for (int i = 0; i < n; ++i) {
            auto icon = icons::icon_for_mime(mimes[i], i == 0);
            float y = float(i * 56 + 8);
            icons::draw_icon(p, icon, Rect::from_xywh(10, y, 48, 48), {}, icons::Source::Auto);
            icons::draw_icon(p, icon, Rect::from_xywh(80, y, 48, 48), {}, icons::Source::BuiltinOnly);
            icons::draw_icon(p, icon, Rect::from_xywh(150, y + 15, 18, 18), {}, icons::Source::Auto);
            icons::draw_icon(p, icon, Rect::from_xywh(190, y + 15, 18, 18), {}, icons::Source::BuiltinOnly);
        }
    });
    ASSERT_TRUE(img.has_value());
    auto png = encode_png(*img);
    ASSERT_TRUE(png.has_value());
    ASSERT_TRUE(publish_atomically(std::filesystem::path(out) / "icons-theme.png", *png));
    // Small sizes blown up pixel for pixel, to judge sharpness.
    const int zoom = 4, small[] = {16, 18, 24};
    int zw = 0;
    for (int s : small) zw += s + 4;
    int per_row = 4, zrows = int((all.size() + per_row - 1) / per_row);
    int W = per_row * zw, H = zrows * 28;
    OffscreenRenderer zr(W, H);
    auto base = zr.render_resilient(text, [&](Painter& p) {
        for (size_t i = 0; i < all.size(); ++i) {
            float x = float(int(i) % per_row * zw), y = float(int(i) / per_row * 28 + 2);
            for (int s : small) {
                icons::draw_icon(p, icons::builtin(all[i]), Rect::from_xywh(x + 2, y, s, s), Color::rgb(0x3b414b),
                                 icons::Source::BuiltinOnly);
                x += float(s + 4);
            }
        }
    });
    ASSERT_TRUE(base.has_value());
    std::vector<std::uint8_t> rgba(size_t(W * zoom) * size_t(H * zoom) * 4);
    for (int y = 0; y < H * zoom; ++y)
        for (int x = 0; x < W * zoom; ++x) {
            Color c = base->pixel(x / zoom, y / zoom);
            bool grid = (x % zoom == 0 || y % zoom == 0);
            auto* px = &rgba[(size_t(y) * size_t(W * zoom) + size_t(x)) * 4];
            px[0] = grid ? std::uint8_t(c.r * 0.94) : c.r;
            px[1] = grid ? std::uint8_t(c.g * 0.94) : c.g;
            px[2] = grid ? std::uint8_t(c.b * 0.94) : c.b;
            px[3] = 255;
        }
    auto zpng = encode_png(Image::from_rgba(W * zoom, H * zoom, rgba));
    ASSERT_TRUE(zpng.has_value());
    ASSERT_TRUE(publish_atomically(std::filesystem::path(out) / "icons-zoom.png", *zpng));
}

}  // namespace

#include <orvo_ui/offscreen.hpp>
#include <orvo_ui/painter.hpp>
#include <orvo_ui/persist.hpp>
#include <orvo_ui/sysdirs.hpp>
#include <orvo_ui/text.hpp>
#include <orvo_ui/widgets.hpp>

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "temp_dir.hpp"

using namespace orvo_ui;
using files::testing::TempDir;

TEST(UserDirs, ParsesTheUserDirsFile) {
    TempDir home;
    home.create_files({"Docs/", "Downloads/", "Bilder/"});
    std::string text =
        "# comment\n"
        "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n"
        "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
        "XDG_PICTURES_DIR=\"" + (home / "Bilder").string() + "\"\n"
        "XDG_MUSIC_DIR=\"$HOME/\"\n"          // the home folder itself switches a directory off
        "XDG_VIDEOS_DIR=\"$HOME/Missing\"\n"  // set, but not on disk
        "XDG_TEMPLATES_DIR=relative\n";       // not quoted: ignored
    auto u = sysdirs::UserDirs::from_text(home.path(), text);
    EXPECT_EQ(u.dir(sysdirs::UserDirKind::Documents), home / "Docs");
    EXPECT_FALSE(u.dir(sysdirs::UserDirKind::Music));
    EXPECT_FALSE(u.dir(sysdirs::UserDirKind::Templates));
    EXPECT_EQ(u.dir(sysdirs::UserDirKind::Desktop), home / "Desktop");  // the default when unset
    EXPECT_EQ(u.classify(home.path().string() + "/Docs/"), sysdirs::UserDirKind::Documents);
    EXPECT_EQ(u.classify(home.path()), sysdirs::UserDirKind::Home);
    EXPECT_FALSE(u.classify(home / "Docs/sub"));

    auto places = u.content_places();
    ASSERT_EQ(places.size(), 3u);  // Videos does not exist
    EXPECT_EQ(places[0].kind, sysdirs::UserDirKind::Documents);
    EXPECT_EQ(places[0].label, "Docs");
    EXPECT_EQ(places[2].kind, sysdirs::UserDirKind::Pictures);
}

TEST(UserDirs, SamePathIgnoresTrailingSeparatorsAndDots) {
    EXPECT_TRUE(sysdirs::same_path("/a/b/", "/a/./b"));
    EXPECT_TRUE(sysdirs::same_path("/", "/"));
    EXPECT_FALSE(sysdirs::same_path("/a/B", "/a/b"));
    EXPECT_FALSE(sysdirs::same_path("/a/../b", "/b"));  // nothing is resolved
    EXPECT_FALSE(sysdirs::same_path("a", "/a"));
}

TEST(Persist, KeepsValuesAndItsOwnActorAcrossSaves) {
    TempDir dir;
    auto file = dir / "ui.state";
    std::string actor;
    {
        auto doc = persist::Document::load(file);
        actor = doc.author_hex();
        EXPECT_EQ(actor.size(), 32u);
        doc.set("scroll", "120");
        doc.set_author_id({'f', 'i', 'l', 'e', 's'});  // renaming the author keeps the stored identity
        ASSERT_TRUE(doc.save());
    }
    auto again = persist::Document::load(file);
    EXPECT_EQ(again.get("scroll"), "120");
    EXPECT_EQ(again.author_hex(), actor);
    EXPECT_FALSE(again.dirty());

    std::ofstream(file) << "{not json";
    auto damaged = persist::Document::load(file);
    EXPECT_FALSE(damaged.get("scroll"));
    EXPECT_NE(damaged.author_hex(), actor);
}

TEST(Offscreen, DrawsWidgetsAndPublishesAtomically) {
    TextRenderer text;
    OffscreenRenderer r(200, 60);
    Theme theme = Theme::light();
    Text label("Readable text", TextRole::Title);
    auto img = r.render_resilient(text, [&](Painter& p) {
        LayoutContext lctx{theme, text, 1};
        label.apply_layout(Rect{10, 10, 190, 50}, lctx);
        DrawContext dctx{theme, Clock::now(), Rect{0, 0, 200, 60}, Rect{0, 0, 200, 60}};
        label.draw(p, dctx);
    });
    ASSERT_TRUE(img) << img.error();
    std::set<std::uint32_t> colours;
    int dark = 0;
    for (int y = 0; y < img->height(); ++y)
        for (int x = 0; x < img->width(); ++x) {
            Color c = img->pixel(x, y);
            colours.insert(std::uint32_t(c.r) << 16 | std::uint32_t(c.g) << 8 | c.b);
            dark += c.r < 100;
        }
    EXPECT_GT(dark, 100) << "text should leave dark pixels";
    EXPECT_GT(colours.size(), 4u) << "anti-aliased text has more than a few colours";

    auto png = encode_png(*img);
    ASSERT_TRUE(png);
    TempDir dir;
    auto out = dir / "deep/er/shot.png";
    ASSERT_TRUE(publish_atomically(out, *png));
    EXPECT_EQ(std::filesystem::file_size(out), png->size());
    auto decoded = Image::decode(*png);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width(), 200);
    size_t files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(out.parent_path())) ++files;
    EXPECT_EQ(files, 1u) << "no temporary file is left beside the picture";
}

TEST(Offscreen, AThrowingDrawIsAnErrorNotACrash) {
    TextRenderer text;
    OffscreenRenderer r(10, 10);
    auto img = r.render_resilient(text, [](Painter&) { throw std::runtime_error("boom"); });
    ASSERT_FALSE(img);
    EXPECT_EQ(img.error(), "drawing failed: boom");
}

#include <orvo_ui/gesture.hpp>
#include <orvo_ui/launch.hpp>
#include <orvo_ui/offscreen.hpp>
#include <orvo_ui/painter.hpp>
#include <orvo_ui/text.hpp>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "files_app/files_app.hpp"
#include "i18n/i18n.hpp"
#include "native_observer/observer.hpp"
#include "temp_dir.hpp"
#include "views/file_view.hpp"

using namespace files;
using namespace orvo_ui;
using files::testing::ScopedEnv;
using files::testing::TempDir;

namespace {

struct IsolatedHome {
    TempDir home{"files-home"};
    ScopedEnv h{"HOME", home.path().c_str()};
    ScopedEnv o{"ORVO_HOME", nullptr};
    ScopedEnv c{"XDG_CONFIG_HOME", (home.path() / ".config").c_str()};
    ScopedEnv d{"XDG_DATA_HOME", (home.path() / ".local/share").c_str()};
    ScopedEnv r{"ORVO_WORKSPACE_ROOTS", ""};
};

// Drives the root widget the way the window does: events through handle_event, a layout after each.
struct Window {
    IsolatedHome env;
    TempDir dir;
    std::unique_ptr<app::FileExplorerWidget> w = app::FileExplorerWidget::create();
    Theme theme = launch::shot_theme();
    TextRenderer text;
    Instant now = Clock::now();
    Rect root{0, 0, 1000, 700};
    std::vector<app::FileCommand> seen;

    explicit Window(std::initializer_list<std::string_view> files = {}) {
        dir.create_files(files);
        w->navigate_to(dir.path());
        w->set_command_observer([this](const app::FileCommand& c) { seen.push_back(c); });
        layout();
    }
    void layout() {
        FrameContext f{now, theme, text, {}, nullptr};
        w->sync(f);
        LayoutContext l{theme, text, 1};
        compute_widget_layout(*w, root, l);
    }
    EventResult send(const Event& e) {
        EventContext c{theme, text, now, 1, root};
        auto r = w->handle_event(e, c);
        layout();
        return r;
    }
    EventResult key(Key k, Modifiers m = {}) { return send(KeyPress{k, {}, m}); }
    EventResult chr(const char* s, Modifiers m = {}) { return send(KeyPress{Key::Character, s, m}); }
    EventResult click_at(Point p, Modifiers m = {}) {
        send(PointerMove{p, m});
        auto r = send(PointerPress{p, PointerButton::Primary, m});
        send(PointerRelease{p, PointerButton::Primary, m});
        return r;
    }
    Point row_point(std::size_t i) const {
        Rect r = w->file_view()->entry_rect(i);
        return {r.left + 60, r.center().y};
    }
    template <class T>
    bool saw() const {
        for (const auto& c : seen)
            if (std::holds_alternative<T>(c)) return true;
        return false;
    }
    std::vector<std::size_t> selected() const { return w->selection().selected(); }
};

constexpr Modifiers kCtrl{false, true, false, false};
constexpr Modifiers kShift{true, false, false, false};
constexpr Modifiers kCtrlShift{true, true, false, false};
constexpr Modifiers kSuper{false, false, false, true};

}  // namespace

TEST(Keys, PrimaryShiftNIsNewFolderAndPrimaryNAloneIsNothing) {
    Window win({"a.txt"});
    win.chr("n", kCtrl);
    EXPECT_FALSE(win.saw<app::cmd::NewFolder>());
    win.chr("N", kCtrlShift);
    EXPECT_TRUE(win.saw<app::cmd::NewFolder>());
    win.seen.clear();
    win.chr("n", Modifiers{true, false, false, true});  // Super counts as Primary
    EXPECT_TRUE(win.saw<app::cmd::NewFolder>());
}

TEST(Keys, ShortcutsSheetOpensAndCloses) {
    Window win({"a.txt"});
    for (bool use_f1 : {false, true}) {
        if (use_f1) win.key(Key::F1);
        else win.chr("?");
        ASSERT_TRUE(win.w->sheet());
        EXPECT_EQ(win.w->sheet()->title, i18n::tr("files-shortcuts-title"));
        EXPECT_EQ(win.w->sheet()->details.size(), 11u);
        win.key(Key::Down);  // a sheet swallows everything
        EXPECT_TRUE(win.selected().empty());
        win.key(Key::Escape);
        EXPECT_FALSE(win.w->sheet());
    }
    // A press outside the panel closes it; one inside does not.
    win.chr("?");
    auto geo = *win.w->sheet_geometry_now();
    win.click_at(geo.panel.center());
    EXPECT_TRUE(win.w->sheet());
    win.click_at({geo.panel.left - 5, geo.panel.top - 5});
    EXPECT_FALSE(win.w->sheet());
    win.chr("?");
    win.click_at(win.w->sheet_geometry_now()->close_hit.center());
    EXPECT_FALSE(win.w->sheet());
}

TEST(Keys, ArrowsHomeEndAndEscape) {
    Window win({"a", "b", "c"});
    win.key(Key::Down);
    EXPECT_EQ(win.w->selection().focus(), 0u);  // nothing focused: the first
    win.key(Key::Up);
    EXPECT_EQ(win.w->selection().focus(), 0u);  // the first stays first
    win.key(Key::End);
    EXPECT_EQ(win.w->selection().focus(), 2u);
    win.key(Key::Down);
    EXPECT_EQ(win.w->selection().focus(), 2u);  // the last stays last
    win.key(Key::Home, kShift);
    EXPECT_EQ(win.selected(), (std::vector<std::size_t>{2, 1, 0}));
    win.key(Key::Escape);
    EXPECT_TRUE(win.selected().empty());
}

TEST(Keys, RenameOnlyWithAFocusedEntry) {
    Window win({"report.final.txt"});
    win.key(Key::F2);
    EXPECT_FALSE(win.w->inline_rename());
    win.key(Key::Down);
    win.w->set_status("something");
    win.key(Key::F2);
    ASSERT_TRUE(win.w->inline_rename());
    EXPECT_EQ(win.w->inline_rename()->text, "report.final.txt");  // extension included
    EXPECT_FALSE(win.w->status_message());
    win.chr("x");  // typing edits the field, not shortcuts
    EXPECT_EQ(win.w->inline_rename()->text, "report.final.txtx");
    win.key(Key::Escape);
    EXPECT_FALSE(win.w->inline_rename());
}

TEST(Keys, ZoomStepsAndStopsAtTheEnds) {
    Window win({"a"});
    win.chr("=", kCtrl);
    EXPECT_EQ(win.w->zoom(), 1);
    auto zoom_file = win.env.home / ".config/orvo-files/zoom";
    EXPECT_TRUE(std::filesystem::exists(zoom_file));
    win.chr("0", kCtrl);
    EXPECT_EQ(win.w->zoom(), 0);
    for (int i = 0; i < 8; ++i) win.chr("+", kCtrl);
    EXPECT_EQ(win.w->zoom(), 6);
    std::filesystem::remove(zoom_file);
    win.chr("=", kCtrl);  // already at 6: nothing changes, nothing is written
    EXPECT_EQ(win.w->zoom(), 6);
    EXPECT_FALSE(std::filesystem::exists(zoom_file));
    win.chr("_", kCtrl);
    EXPECT_EQ(win.w->zoom(), 5);
}

TEST(Keys, SpaceWithALoadErrorReloads) {
    Window win;
    auto missing = win.dir / "later";
    win.w->navigate_to(missing);
    win.layout();
    ASSERT_TRUE(win.w->listing().load_error);
    std::filesystem::create_directory(missing);
    win.key(Key::Space);
    EXPECT_FALSE(win.w->listing().load_error);
    EXPECT_EQ(win.w->listing().current, missing);
}

TEST(Keys, TryAgainButtonReloads) {
    Window win;
    auto missing = win.dir / "later";
    win.w->navigate_to(missing);
    win.layout();
    std::filesystem::create_directory(missing);
    auto* retry = find_widget(*win.w, "files.retry");
    ASSERT_TRUE(retry);
    win.click_at(retry->bounds().center());
    EXPECT_FALSE(win.w->listing().load_error);
}

TEST(Clicks, SlowDoubleClickSelectsTwiceAndFastOneOpens) {
    Window win({"folder/inner.txt", "b.txt"});
    auto interval = gesture::multi_click_interval();
    auto folder = win.dir / "folder";
    win.click_at(win.row_point(0));
    win.now += interval + std::chrono::milliseconds(50);
    win.click_at(win.row_point(0));
    EXPECT_EQ(win.w->listing().current, win.dir.path()) << "too slow to open";
    EXPECT_EQ(win.selected(), (std::vector<std::size_t>{0}));
    win.now += interval / 4;
    win.click_at(win.row_point(0));
    EXPECT_EQ(win.w->listing().current, folder) << "a fast second click opens";
    win.w->go_back();
    win.layout();
    // Fast clicks on two different rows open nothing.
    win.click_at(win.row_point(1));
    win.now += interval / 4;
    win.click_at(win.row_point(0));
    EXPECT_EQ(win.w->listing().current, win.dir.path());
    EXPECT_EQ(win.selected(), (std::vector<std::size_t>{0}));
}

TEST(Clicks, ShiftRangeAndPrimaryToggle) {
    Window win({"a", "b", "c", "d"});
    win.click_at(win.row_point(1));
    win.click_at(win.row_point(3), kShift);
    EXPECT_EQ(win.selected(), (std::vector<std::size_t>{1, 2, 3}));
    win.click_at(win.row_point(2), kCtrl);
    EXPECT_EQ(win.selected(), (std::vector<std::size_t>{1, 3}));
    win.click_at(win.row_point(0), kSuper);
    EXPECT_EQ(win.selected(), (std::vector<std::size_t>{1, 3, 0}));
    EXPECT_TRUE(win.w->drag_candidates().empty());
    i18n::MessageArgs count;
    count.set("count", 4);
    i18n::MessageArgs selected;
    selected.set("base", i18n::tr_args("files-item-count", count));
    selected.set("count", 3);
    EXPECT_EQ(win.w->status_line_text(), i18n::tr_args("files-selected-count", selected));
    // A plain press on one of several selected entries remembers them all for a drag.
    win.click_at(win.row_point(3));
    EXPECT_EQ(win.w->drag_candidates(),
              (std::vector<std::filesystem::path>{win.dir / "b", win.dir / "d", win.dir / "a"}));
    EXPECT_EQ(win.selected(), (std::vector<std::size_t>{3}));
}

TEST(Clicks, HeaderSortsAndGridGapSelectsNothing) {
    Window win({"small", "big"});
    std::filesystem::resize_file(win.dir / "big", 5000);
    auto g = win.w->file_view()->list();
    win.click_at({g.size_left + 5, g.top + 5});
    EXPECT_EQ(win.w->listing().sort_key, model::SortKey::Size);
    EXPECT_FALSE(win.w->listing().descending);
    win.click_at({g.size_left + 5, g.top + 5});
    EXPECT_TRUE(win.w->listing().descending);
    EXPECT_EQ(win.w->listing().entries[0].name, "big");

    win.w->set_view_mode(app::ViewMode::Grid);
    win.layout();
    auto grid = win.w->file_view()->grid();
    Rect t0 = grid.tile(0);
    win.click_at({t0.right + grid.gap / 2, t0.center().y});
    EXPECT_TRUE(win.selected().empty());
    win.click_at(t0.center());
    EXPECT_EQ(win.selected(), (std::vector<std::size_t>{0}));
    win.key(Key::Right);
    EXPECT_EQ(win.w->selection().focus(), 1u);
    win.key(Key::Right);
    EXPECT_EQ(win.w->selection().focus(), 1u);  // the last entry stays
}

TEST(Observer, EmptyFolderAndSameNamedFileAndFolder) {
    Window empty;
    auto snap = nlohmann::ordered_json::parse(*empty.w->observer_snapshot());
    EXPECT_EQ(snap["entry_count"], 0);
    EXPECT_EQ(snap["order_hash"], "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(snap["selected_indices"], nlohmann::json::array());
    EXPECT_TRUE(snap["primary_index"].is_null());
    EXPECT_EQ(snap["ready"], true);
    EXPECT_EQ(snap["view_mode"], "List");
    std::vector<std::string> keys;
    for (auto it = snap.begin(); it != snap.end(); ++it) keys.push_back(it.key());
    EXPECT_EQ(keys, (std::vector<std::string>{
                        "app", "view_id", "directory", "entry_count", "order_hash", "hash_algorithm", "ready",
                        "is_loading", "has_error", "thumbnail_pending", "selected_indices", "selected_names",
                        "primary_index", "offset_x", "offset_y", "offset_units", "last_cursor", "root_rect",
                        "viewport_rect", "content_rect", "view_mode", "sort_by", "sort_order"}));

    Window as_file({"same"});
    Window as_dir({"same/"});
    EXPECT_NE(native_observer::order_hash(as_file.w->listing().entries),
              native_observer::order_hash(as_dir.w->listing().entries));

    Window sel({"x", "y"});
    sel.click_at(sel.row_point(1));
    auto s2 = nlohmann::json::parse(*sel.w->observer_snapshot());
    EXPECT_EQ(s2["selected_indices"], nlohmann::json::array({1}));
    EXPECT_EQ(s2["selected_names"], nlohmann::json::array({"y"}));
    EXPECT_EQ(s2["primary_index"], 1);

    sel.w->navigate_to(sel.dir / "missing");
    sel.layout();
    auto s3 = nlohmann::json::parse(*sel.w->observer_snapshot());
    EXPECT_EQ(s3["has_error"], true);
    EXPECT_EQ(s3["ready"], false);
    EXPECT_TRUE(s3["viewport_rect"].is_null());
}

TEST(Accessibility, RootRowsAndLoadError) {
    Window win({"alpha.txt", "beta/"});
    auto root = win.w->access_node();
    ASSERT_TRUE(root);
    EXPECT_EQ(root->name, i18n::tr("files-a11y-activity"));
    EXPECT_NE(root->value.find(win.dir.path().string()), std::string::npos);
    const a11y::AccessNode* list = nullptr;
    for (const auto& c : root->children)
        if (c.id == "file_view") list = &c;
    ASSERT_TRUE(list);
    ASSERT_EQ(list->children.size(), 2u);
    EXPECT_EQ(list->children[0].id, "file_row:0");
    EXPECT_EQ(list->children[0].name, "beta");
    EXPECT_EQ(list->children[0].description, i18n::tr("files-a11y-folder"));

    win.w->navigate_to(win.dir / "missing");
    win.layout();
    root = win.w->access_node();
    bool retry = false;
    for (const auto& c : root->children)
        for (const auto& cc : c.children) retry = retry || cc.id == "files-retry-folder";
    EXPECT_TRUE(retry);
}

TEST(Drawing, ShortcutsSheetDimsTheContentAndShowsItsLines) {
    Window win({"a.txt", "b.txt"});
    win.chr("?");
    OffscreenRenderer r(1000, 700);
    FrameContext f{win.now, win.theme, win.text, {}, nullptr};
    auto img = r.render_resilient(win.text, [&](Painter& p) { run_frame(*win.w, p, win.root, f, 1); });
    ASSERT_TRUE(img) << img.error();
    auto geo = *win.w->sheet_geometry_now();
    // The scrim darkens the content beside the panel; the panel itself stays light.
    Color beside = img->pixel(int(geo.panel.left) - 10, int(geo.panel.center().y));
    Color inside = img->pixel(int(geo.panel.right) - 60, int(geo.panel.bottom) - 12);
    EXPECT_LT(beside.r, 200);
    EXPECT_GT(inside.r, 240);
    // Every detail line has its bullet painted in the accent colour.
    for (const auto& line : geo.lines) {
        Color b = img->pixel(int(line.bullet.center().x), int(line.bullet.center().y));
        EXPECT_LT(b.r, 120) << "bullet at " << line.bullet.top;
    }
    if (const char* dir = std::getenv("FILES_TEST_SHOTS")) {
        ASSERT_TRUE(publish_atomically(std::filesystem::path(dir) / "shortcuts-sheet.png", *encode_png(*img)));
    }
}

#include <orvo_ui/image.hpp>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <set>

#include "files_app/files_app.hpp"
#include "files_app/startup.hpp"
#include "i18n/i18n.hpp"
#include "main/app_main.hpp"
#include "main/share_link.hpp"
#include "temp_dir.hpp"

using namespace files;
using files::testing::ScopedEnv;
using files::testing::TempDir;

namespace {

// A pipe whose read end holds exactly these bytes.
int pipe_with(const std::string& bytes) {
    int fds[2];
    if (::pipe(fds) != 0) std::abort();
    // Bigger than the pipe buffer: write from a thread-free loop by growing the pipe first.
    ::fcntl(fds[1], F_SETPIPE_SZ, 1 << 20);
    size_t off = 0;
    while (off < bytes.size()) {
        ssize_t n = ::write(fds[1], bytes.data() + off, bytes.size() - off);
        if (n <= 0) std::abort();
        off += size_t(n);
    }
    ::close(fds[1]);
    return fds[0];
}

std::expected<std::string, std::string_view> link_from(const std::string& bytes) {
    int fd = pipe_with(bytes);
    auto r = startup::read_share_link(fd);
    ::close(fd);
    return r;
}

orvo_ui::launch::LaunchArgs args_of(std::vector<std::string> raw) {
    raw.insert(raw.begin(), "orvo-files");
    auto a = orvo_ui::launch::parse_args(startup::descriptor(), raw);
    if (!a) std::abort();
    return *a;
}

// A home of its own, no workspaces, no desktop settings leaking in.
struct IsolatedHome {
    TempDir home{"files-home"};
    ScopedEnv h{"HOME", home.path().c_str()};
    ScopedEnv o{"ORVO_HOME", nullptr};
    ScopedEnv c{"XDG_CONFIG_HOME", (home.path() / ".config").c_str()};
    ScopedEnv r{"ORVO_WORKSPACE_ROOTS", ""};
};

}  // namespace

TEST(InitialFolder, FirstRuleThatApplies) {
    using app::InitialFolderInputs;
    struct Case {
        InitialFolderInputs in;
        std::filesystem::path want;
    };
    const Case cases[] = {
        {{{"/w1", "/w2"}, true, true, "/home/u", "/cwd"}, "/w1"},
        {{{}, false, true, "/home/u", "/cwd"}, "/workspace"},
        {{{}, true, true, "/home/u", "/cwd"}, "/home/u"},  // set but empty: /workspace is not considered
        {{{}, false, false, "/home/u", "/cwd"}, "/home/u"},
        {{{}, false, false, std::nullopt, "/cwd"}, "/cwd"},
        {{{}, false, false, std::nullopt, std::nullopt}, "/"},
    };
    for (const auto& c : cases) EXPECT_EQ(app::choose_initial_folder(c.in), c.want);
}

TEST(InitialFolder, WorkspaceRootFromTheEnvironment) {
    TempDir ws;
    ScopedEnv roots("ORVO_WORKSPACE_ROOTS", ("/no/such/root:" + ws.path().string()).c_str());
    EXPECT_EQ(app::initial_folder(std::filesystem::path("/home/x")), ws.path());
}

TEST(Zoom, ParsesClampsAndFallsBack) {
    const std::pair<const char*, int> cases[] = {
        {" \t9\n", 6}, {"-7", -2}, {"abc", 0}, {"", 0}, {"+3", 3}, {"-2", -2}, {"4 5", 0},
        {"+-1", 0},    {"99999999999", 0} /* beyond 32 bits */, {"2\n", 2},
    };
    for (auto [text, want] : cases) EXPECT_EQ(app::parse_zoom(text), want) << '"' << text << '"';
    TempDir cfg;
    EXPECT_EQ(app::read_zoom(cfg.path()), 0);  // no file
    cfg.write("zoom", "  9  ");
    EXPECT_EQ(app::read_zoom(cfg.path()), 6);
    EXPECT_EQ(app::read_zoom(std::nullopt), 0);
}

TEST(ShareLink, ReadsAndChecksStandardInput) {
    struct Case {
        std::string input;
        std::expected<std::string, std::string_view> want;
    };
    const std::string max(startup::kShareLinkMax, 'a');
    const Case cases[] = {
        {"", std::unexpected("files-received-link-empty")},
        {"\r\n\n\r", std::unexpected("files-received-link-empty")},
        {"orvo://link\r\n", "orvo://link"},
        {"  orvo://link", "  orvo://link"},
        {"a\nb\n", "a\nb"},
        {"bad \xff\xfe", std::unexpected("files-received-link-invalid-text")},
        {max, max},
        {max + "a", std::unexpected("files-received-link-too-large")},
        {max + "\n", std::unexpected("files-received-link-too-large")},  // the bound applies before trimming
        {std::string(100000, 'b'), std::unexpected("files-received-link-too-large")},
    };
    for (const auto& c : cases) EXPECT_EQ(link_from(c.input), c.want) << c.input.substr(0, 40);
    EXPECT_EQ(startup::read_share_link(-1), std::unexpected(std::string_view("files-received-link-read-failed")));
}

TEST(ShareLink, FlagMustMatchExactly) {
    EXPECT_TRUE(startup::has_share_stdin_flag({"x", "--open-share-stdin"}));
    EXPECT_FALSE(startup::has_share_stdin_flag({"x", "--open-share-stdin "}));
    EXPECT_FALSE(startup::has_share_stdin_flag({"x", "--open-share-stdi"}));
}

TEST(BuildApp, ShareFlagIgnoresTheFolderArgument) {
    IsolatedHome env;
    env.home.create_files({"elsewhere/"});
    int fd = pipe_with("orvo://share/abc\n");
    auto root = startup::build_root(args_of({"--open-share-stdin", (env.home / "elsewhere").string()}), fd);
    ::close(fd);
    ASSERT_TRUE(root);
    EXPECT_EQ((*root)->listing().current, env.home.path());
    EXPECT_EQ((*root)->status_message(), i18n::tr("files-received-not-available"));
    EXPECT_TRUE((*root)->history().back_stack().empty());

    int empty = pipe_with("\n");
    auto root2 = startup::build_root(args_of({"--open-share-stdin"}), empty);
    ::close(empty);
    ASSERT_TRUE(root2);
    EXPECT_EQ((*root2)->status_message(), i18n::tr("files-received-link-empty"));
}

TEST(BuildApp, RelativeFolderArgumentAndBack) {
    IsolatedHome env;
    env.home.create_files({"work/project/readme.md"});
    auto old = std::filesystem::current_path();
    std::filesystem::current_path(env.home / "work");
    auto root = startup::build_root(args_of({"project"}), -1);
    std::filesystem::current_path(old);
    ASSERT_TRUE(root);
    auto& w = **root;
    EXPECT_EQ(w.listing().current, env.home / "work" / "project");
    ASSERT_EQ(w.listing().entries.size(), 1u);
    EXPECT_EQ(w.listing().entries[0].name, "readme.md");
    w.go_back();
    EXPECT_EQ(w.listing().current, env.home.path());
    EXPECT_EQ(w.history().forward_stack().size(), 1u);
}

TEST(BuildApp, EmptyFolderArgumentFailsTheLaunch) {
    IsolatedHome env;
    auto root = startup::build_root(args_of({""}), -1);
    ASSERT_FALSE(root);
    EXPECT_EQ(root.error().message, "cannot make an empty path absolute");
}

TEST(BuildApp, ZoomIsReadAndWrittenInTheConfigurationFolder) {
    IsolatedHome env;
    env.home.write(".config/orvo-files/zoom", "5\n");
    auto w = app::FileExplorerWidget::create();
    EXPECT_EQ(w->zoom(), 5);
    w->set_zoom(6);
    w->set_zoom(9);  // clamped to 6: unchanged, nothing written
    std::ifstream in(env.home / ".config/orvo-files/zoom");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "6");
    auto shot = app::FileExplorerWidget::create(app::StartupMode::Screenshot);
    EXPECT_EQ(shot->zoom(), 0);  // screenshots have no configuration folder
    EXPECT_FALSE(shot->dirs().config);
}

TEST(AuthorName, FirstSourceThatIsSet) {
    EXPECT_EQ(startup::choose_author_name("app.id", "u1", "0123456789abcdef"), "app.id");
    EXPECT_EQ(startup::choose_author_name("", "u1", "0123456789abcdef"), "files-u1");
    EXPECT_EQ(startup::choose_author_name(nullptr, "", "0123456789abcdef"), "files-0123456789ab");
}

TEST(Shot, FrameSize) {
    using orvo_ui::Size;
    const std::pair<const char*, std::optional<Size>> cases[] = {
        {"800x600", Size{800, 600}}, {"800X600", Size{800, 600}}, {" 800 x 600 ", Size{800, 600}},
        {"+800x+600", Size{800, 600}}, {"800x", std::nullopt}, {"800", std::nullopt},
        {"-800x600", std::nullopt}, {"800x600x2", std::nullopt}, {"4294967296x1", std::nullopt},
    };
    for (auto [text, want] : cases) EXPECT_EQ(startup::parse_frame_size(text), want) << text;
}

TEST(Shot, RendersTheFolderAndItsObserverSnapshot) {
    IsolatedHome env;
    TempDir dir;
    dir.create_files({"Folder/", "alpha.txt", "beta.png", ".hidden"});
    auto png = env.home / "out" / "shot.png";
    auto json = env.home / "shot.json";
    auto args = args_of({"--shot", png.string(), "--observe", json.string(), "--size", "640x400", "--path",
                         dir.path().string()});
    auto r = startup::render_shot(args);
    ASSERT_TRUE(r) << r.error().message;

    std::ifstream in(png, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    auto img = orvo_ui::Image::decode(bytes);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->width(), 640);
    EXPECT_EQ(img->height(), 400);
    std::set<std::uint32_t> colours;
    for (int y = 0; y < 400; y += 2)
        for (int x = 0; x < 640; x += 2) {
            auto c = img->pixel(x, y);
            colours.insert(std::uint32_t(c.r) << 16 | std::uint32_t(c.g) << 8 | c.b);
        }
    EXPECT_GT(colours.size(), 20u) << "the frame should not be blank";

    std::ifstream jin(json);
    auto snap = nlohmann::json::parse(jin);
    EXPECT_EQ(snap["app"], "org.orvo.FileExplorer");
    EXPECT_EQ(snap["directory"], dir.path().string());
    EXPECT_EQ(snap["entry_count"], 3);
    EXPECT_EQ(snap["ready"], true);
    EXPECT_EQ(snap["root_rect"], nlohmann::json::array({0, 0, 640, 400}));
    EXPECT_EQ(snap.begin().key(), "app");
}

TEST(Shot, NoOutputPathIsAnError) {
    auto r = startup::render_shot(orvo_ui::launch::LaunchArgs{});
    ASSERT_FALSE(r);
}

#include "model/navigation.hpp"

#include "temp_dir.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace files::model {
namespace {

using files::testing::ScopedEnv;
using files::testing::TempDir;

// Mirrors the root widget: the current folder plus the history.
struct Window {
    path current = "/a";
    NavigationHistory h;
    void go(const path& p) { current = h.navigate(current, p); }
    void back() { current = h.back(current).value_or(current); }
    void forward() { current = h.forward(current).value_or(current); }
    void up() { current = h.up(current).value_or(current); }
};

TEST(model_navigation, HistoryMoves) {
    Window w;
    w.current = "/a/b";
    w.up();
    EXPECT_EQ(w.current, "/a");
    w.back();
    EXPECT_EQ(w.current, "/a/b") << "Back after Up returns to the child";
    w.forward();
    EXPECT_EQ(w.current, "/a");

    Window n;
    n.go("/b");
    n.back();
    EXPECT_EQ(n.current, "/a");
    EXPECT_EQ(n.h.forward_stack(), std::vector<path>{"/b"});
    n.go("/c");
    EXPECT_TRUE(n.h.forward_stack().empty()) << "a new navigation clears forward";
    EXPECT_EQ(n.h.back_stack(), std::vector<path>{"/a"});

    Window same;
    same.go("/a/");
    same.go("/./a");
    EXPECT_TRUE(same.h.back_stack().empty()) << "the same folder only reloads";

    Window root;
    root.current = "/";
    root.up();
    EXPECT_EQ(root.current, "/");
    EXPECT_TRUE(root.h.back_stack().empty()) << "Up at / records nothing";
    root.back();
    root.forward();
    EXPECT_EQ(root.current, "/");
}

TEST(model_navigation, ParentFolder) {
    EXPECT_EQ(parent_folder("/a/b/"), std::optional<path>("/a"));
    EXPECT_EQ(parent_folder("/a"), std::optional<path>("/"));
    EXPECT_FALSE(parent_folder("/"));
    EXPECT_FALSE(parent_folder("//"));
}

TEST(model_navigation, TypedLocations) {
    std::optional<path> home = path("/home/u");
    struct Case {
        const char* typed;
        std::optional<path> home;
        const char* expected;
    } cases[] = {
        {"~", home, "/home/u"},
        {"~/x", home, "/home/u/x"},
        {"~/x/../y", home, "/home/u/x/../y"},
        {"~user", home, "/cur/~user"},
        {"~", std::nullopt, "/cur/~"},
        {"~/x", std::nullopt, "/cur/~/x"},
        {"rel/dir", home, "/cur/rel/dir"},
        {"/abs/p", home, "/abs/p"},
        {" spaced ", home, "/cur/ spaced "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resolve_typed_location(c.typed, c.home, "/cur"), path(c.expected)) << c.typed;
}

TEST(model_navigation, OpenDecisions) {
    TempDir d;
    d.create_files({"dir/", "doc.txt"});
    std::filesystem::create_symlink(d / "dir", d / "dirlink");
    auto nav = [](const OpenAction& a) { return std::get_if<OpenNavigate>(&a); };
    EXPECT_TRUE(nav(decide_open(d / "dir")));
    EXPECT_TRUE(nav(decide_open(d / "dirlink"))) << "links to folders are entered";
    EXPECT_TRUE(std::holds_alternative<OpenDocument>(decide_open(d / "doc.txt")));
    EXPECT_TRUE(std::holds_alternative<OpenDocument>(decide_open(d / "missing")));
    // Typed: a regular file opens, anything else is navigated to.
    EXPECT_TRUE(std::holds_alternative<OpenDocument>(decide_open_typed(d / "doc.txt")));
    ASSERT_TRUE(nav(decide_open_typed(d / "missing")));
    EXPECT_EQ(nav(decide_open_typed(d / "missing"))->target, d / "missing");
}

// A fake program on PATH that records its arguments and working folder.
void fake_program(const TempDir& bin, const std::string& name, const path& log) {
    auto p = bin / name;
    std::ofstream(p) << "#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"$a\"; done; } > '" << log.native()
                     << ".tmp' && /bin/mv '" << log.native() << ".tmp' '" << log.native() << "'\n";
    ::chmod(p.c_str(), 0755);
}

std::string wait_for(const path& p) {
    for (int i = 0; i < 200 && !std::filesystem::exists(p); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(p);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(model_navigation, LauncherTriesOpenersInTurn) {
    TempDir bin, work;
    ScopedEnv only_ours("PATH", bin.path().c_str());
    EXPECT_FALSE(launch_document(work / "f.txt")) << "no opener at all is a failure";

    fake_program(bin, "gio", work / "gio.log");
    ASSERT_TRUE(launch_document(work / "f.txt"));
    EXPECT_NE(wait_for(work / "gio.log").find("open\n" + (work / "f.txt").native()), std::string::npos);

    fake_program(bin, "xdg-open", work / "xdg.log");
    ASSERT_TRUE(launch_document("-x.txt"));
    EXPECT_NE(wait_for(work / "xdg.log").find("./-x.txt"), std::string::npos) << "xdg-open first, no option";
}

TEST(model_navigation, TerminalStartsInTheFolder) {
    TempDir bin, work;
    ScopedEnv only_ours("PATH", bin.path().c_str());
    auto missing = open_terminal(work.path());
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error(), "could not open terminal: No such file or directory");

    fake_program(bin, "terminal", work / "term.log");
    ASSERT_TRUE(open_terminal(work.path()));
    EXPECT_EQ(wait_for(work / "term.log"), work.path().native() + "\n");
}

}  // namespace
}  // namespace files::model

#include "model/workspace.hpp"

#include "temp_dir.hpp"

#include <gtest/gtest.h>

namespace files::model {
namespace {

using files::testing::ScopedEnv;
using files::testing::TempDir;

TEST(model_workspace, RootsFromTheEnvironment) {
    TempDir d;
    d.create_files({"a/", "b/", "file"});
    auto p = [&](const char* n) { return (d / n).native(); };
    struct Case {
        std::string value;
        std::vector<path> expected;
    } cases[] = {
        {"", {}},
        {p("missing") + "::" + p("b"), {d / "b"}},
        {p("b") + ":" + p("a"), {d / "b", d / "a"}},
        {":" + p("file") + ":", {d / "file"}},
    };
    ScopedEnv home("ORVO_HOME", d.path().c_str());
    for (const auto& c : cases) {
        ScopedEnv roots("ORVO_WORKSPACE_ROOTS", c.value.c_str());
        EXPECT_EQ(workspace_roots(), c.expected) << c.value;
        EXPECT_EQ(system_workspace_roots(), c.expected) << c.value;
    }
}

TEST(model_workspace, SharedFallbackWithoutTheVariable) {
    TempDir d;
    ScopedEnv unset("ORVO_WORKSPACE_ROOTS", nullptr);
    ScopedEnv home("ORVO_HOME", d.path().c_str());
    bool var_ws = std::filesystem::exists("/var/workspace");
    std::vector<path> base = var_ws ? std::vector<path>{"/var/workspace"} : std::vector<path>{};
    EXPECT_EQ(workspace_roots(), base) << "no ~/Shared yet";
    d.write("Shared", "a regular file counts");
    auto with_shared = base;
    with_shared.push_back(d / "Shared");
    EXPECT_EQ(workspace_roots(), with_shared);
    EXPECT_EQ(system_workspace_roots(), base) << "the system list has no home fallback";
}

TEST(model_workspace, ContainmentByWholeComponents) {
    std::vector<path> roots = {"/var/workspace", "/var/workspace/team", "/srv/w/"};
    struct Case {
        const char* p;
        bool inside;
        const char* deepest;
    } cases[] = {
        {"/var/workspace", true, "/var/workspace"},
        {"/var/workspace/", true, "/var/workspace"},
        {"/var/workspace/x", true, "/var/workspace"},
        {"/var/workspace-old/x", false, ""},
        {"/var/workspace2", false, ""},
        {"/var/workspace/team/doc", true, "/var/workspace/team"},
        {"/var/workspace/teams", true, "/var/workspace"},
        {"/var/workspace/../etc", true, "/var/workspace"},
        {"/srv/w", true, "/srv/w/"},
        {"/var", false, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(in_workspace(c.p, roots), c.inside) << c.p;
        auto root = workspace_root_of(c.p, roots);
        EXPECT_EQ(root.value_or(""), path(c.deepest)) << c.p;
    }
    // Equally long containing roots: the last wins.
    EXPECT_EQ(workspace_root_of("/a/b", {"/a/", "/a//", "/a"}).value_or("").native(), "/a//");
}

TEST(model_workspace, RootDisplayName) {
    EXPECT_EQ(root_display_name("/var/workspace"), "workspace");
    EXPECT_EQ(root_display_name("/home/u/Shared/"), "Shared");
    EXPECT_EQ(root_display_name("/"), "Workspace");
    EXPECT_EQ(root_display_name("/x/bad\xff"), "bad\xEF\xBF\xBD");
}

}  // namespace
}  // namespace files::model

#include <orvo_ui/launch.hpp>

#include <gtest/gtest.h>

using orvo_ui::launch::LaunchDescriptor;
using orvo_ui::launch::parse_args;

namespace {

LaunchDescriptor descriptor() {
    LaunchDescriptor d;
    d.app_id = "org.example.Test1234";
    d.value_options = {"--size", "--path"};
    d.flag_options = {"--open-share-stdin"};
    d.scenario_names = {"grid", "menu"};
    return d;
}

std::vector<std::string> argv(std::initializer_list<const char*> rest) {
    std::vector<std::string> v{"prog"};
    for (auto* a : rest) v.emplace_back(a);
    return v;
}

}  // namespace

TEST(LaunchArgs, DeclaredOptionsValuesAndPositionals) {
    auto a = parse_args(descriptor(), argv({"--size", "800x600", "/tmp/a", "--path=/x y", "--open-share-stdin", "b"}));
    ASSERT_TRUE(a) << a.error().message;
    EXPECT_EQ(a->value("--size"), "800x600");
    EXPECT_EQ(a->value("--path"), "/x y");
    EXPECT_FALSE(a->value("--nothing"));
    EXPECT_TRUE(a->flag("--open-share-stdin"));
    EXPECT_EQ(a->positional(), (std::vector<std::string>{"/tmp/a", "b"}));
    EXPECT_EQ(a->raw().size(), 7u);
    EXPECT_FALSE(a->shot_output());
    EXPECT_FALSE(a->scenario());  // scenarios mean something only for screenshots
}

TEST(LaunchArgs, ShotScenarioAndObserver) {
    auto a = parse_args(descriptor(), argv({"notes", "--shot", "out.png", "menu", "grid", "--observe", "o.json"}));
    ASSERT_TRUE(a) << a.error().message;
    EXPECT_EQ(a->shot_output(), std::filesystem::path("out.png"));
    EXPECT_EQ(a->scenario(), "menu");  // the first positional that names a scenario
    EXPECT_EQ(a->observe_output(), std::filesystem::path("o.json"));
}

TEST(LaunchArgs, DoubleDashEndsOptionsAndLoneDashIsPositional) {
    auto a = parse_args(descriptor(), argv({"-", "--", "--size", "-x"}));
    ASSERT_TRUE(a) << a.error().message;
    EXPECT_EQ(a->positional(), (std::vector<std::string>{"-", "--size", "-x"}));
    EXPECT_FALSE(a->value("--size"));
}

TEST(LaunchArgs, Errors) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {argv({"--bogus"}), "unknown option: --bogus"},
        {argv({"-v"}), "unknown option: -v"},
        {argv({"--size"}), "option --size needs a value"},
        {argv({"--open-share-stdin=1"}), "option --open-share-stdin takes no value"},
        {argv({"--observe", "o.json"}), "option --observe only works together with --shot"},
        {argv({"--shot="}), "option --shot needs an output path"},
    };
    for (const auto& c : cases) {
        auto a = parse_args(descriptor(), c.args);
        ASSERT_FALSE(a) << c.args.back();
        EXPECT_EQ(a.error().message, c.message);
    }
}

TEST(LaunchArgs, LaterValueWins) {
    auto a = parse_args(descriptor(), argv({"--size", "1x1", "--size", "2x2"}));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->value("--size"), "2x2");
}

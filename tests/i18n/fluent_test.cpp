// The Fluent subset: syntax, whitespace rules, selection and recovery from errors.
#include <gtest/gtest.h>

#include <optional>

#include "i18n/fluent.hpp"

namespace files::i18n::fluent {
namespace {

std::string_view english(double n) { return n == 1 ? "one" : "other"; }

std::optional<std::string> format(std::string_view source, std::string_view id, const MessageArgs& args = {}) {
    Bundle b(english);
    b.add_resource(source);
    const Message* m = b.find(id);
    if (!m) return std::nullopt;
    std::string out;
    if (!b.format(*m, args, out)) return std::nullopt;
    return out;
}

struct Case {
    const char* name;
    std::string_view source;
    MessageArgs args;
    std::optional<std::string> expected;  // no value: the message is missing or fails
};

class FluentCases : public ::testing::TestWithParam<Case> {};

TEST_P(FluentCases, Formats) {
    const Case& c = GetParam();
    EXPECT_EQ(format(c.source, "m", c.args), c.expected) << c.source;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(i18n, FluentCases, ::testing::Values(
    Case{"plain", "m = Hello there\n", {}, "Hello there"},
    Case{"trailing_space_trimmed", "m = Hello   \n\n", {}, "Hello"},
    Case{"inner_spaces_kept", "m = { $base }  ·  { $count } selected", MessageArgs().set("base", "3 items").set("count", 2),
         "3 items  ·  2 selected"},
    Case{"no_grouping", "m = Emptied Trash ({ $count })", MessageArgs().set("count", 1000000), "Emptied Trash (1000000)"},
    Case{"fraction", "m = { $n }", MessageArgs().set("n", 2.5), "2.5"},
    Case{"text_inserted_as_is", "m = Open { $path }", MessageArgs().set("path", "{ $x } -> [a]"), "Open { $x } -> [a]"},
    Case{"block_dedented", "m =\n    First\n      second\n    third\n", {}, "First\n  second\nthird"},
    Case{"inline_then_block", "m = One\n  two\n", {}, "One\ntwo"},
    Case{"blank_line_kept", "m = a\n\n  b\n", {}, "a\n\nb"},
    Case{"crlf", "m = one\r\n  two\r\n", {}, "one\ntwo"},
    Case{"brace_line_at_column_zero_continues", "m = a\n{ $x }\n", MessageArgs().set("x", "b"), "a\nb"},
    Case{"string_literals", "m = { \"{\" }x{ \"}\" } { \"\\u00E9\\\\\" }", {}, "{x} \u00E9\\"},
    Case{"number_literal", "m = { 1.50 }", {}, "1.50"},
    Case{"nested_placeable", "m = { { $x } }", MessageArgs().set("x", "y"), "y"},
    Case{"select_alone_one", "m = { $count ->\n    [one] 1 item\n   *[other] { $count } items\n}\n",
         MessageArgs().set("count", 1), "1 item"},
    Case{"select_alone_other", "m = { $count ->\n    [one] 1 item\n   *[other] { $count } items\n}\n",
         MessageArgs().set("count", 0), "0 items"},
    Case{"select_mid_sentence", "m = Keeping { $count } { $count ->\n        [one] item\n       *[other] items\n    } offline\n",
         MessageArgs().set("count", 3), "Keeping 3 items offline"},
    Case{"numeric_key_wins_over_category", "m = { $n ->\n  [1] exactly one\n  [one] one\n *[other] many\n}",
         MessageArgs().set("n", 1), "exactly one"},
    Case{"numeric_key_fraction", "m = { $n ->\n  [0.5] half\n *[other] other\n}", MessageArgs().set("n", 0.5), "half"},
    Case{"string_selector", "m = { $kind ->\n  [file] File\n *[other] Item\n}", MessageArgs().set("kind", "file"), "File"},
    Case{"string_selector_default", "m = { $kind ->\n  [file] File\n *[other] Item\n}", MessageArgs().set("kind", "dir"), "Item"},
    Case{"multiline_variant", "m = { $n ->\n  [one]\n      one\n      line\n *[other] x\n}", MessageArgs().set("n", 1), "one\nline"},
    Case{"missing_variable_fails", "m = Hello { $name }", {}, std::nullopt},
    Case{"missing_selector_variable_fails", "m = { $n ->\n *[other] x\n}", {}, std::nullopt},
    Case{"no_default_is_junk", "m = { $n ->\n  [one] x\n}", MessageArgs().set("n", 1), std::nullopt},
    Case{"empty_variant_is_junk", "m = { $n ->\n  [one]\n *[other] x\n}", MessageArgs().set("n", 2), std::nullopt},
    Case{"two_defaults_is_junk", "m = { $n ->\n *[one] a\n *[other] b\n}", MessageArgs().set("n", 2), std::nullopt},
    Case{"message_reference_unsupported", "m = { other }", {}, std::nullopt},
    Case{"stray_brace_is_junk", "m = a } b", {}, std::nullopt},
    Case{"attributes_only_has_no_value", "m =\n    .label = x\n", {}, std::nullopt},
    Case{"attribute_after_value_ignored", "m = value\n    .label = x\n", {}, "value"},
    Case{"first_definition_wins", "m = first\nm = second\n", {}, "first"}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

TEST(i18nFluent, ErrorsAreSkippedMessageByMessage) {
    constexpr std::string_view src =
        "### Resource\n"
        "#bad comment\n"
        "a = ok\n"
        "## Section\n"
        "b = { $x\n"
        "c = fine\n"
        "d = { $n ->\n"
        "    [one] x\n"
        "e = also fine\n"
        "   [indented junk]\n"
        "-term = a term\n"
        "f = last\n";
    ParseResult r = parse(src);
    std::vector<std::string> ids;
    for (const auto& m : r.messages) ids.push_back(m.id);
    EXPECT_EQ(ids, (std::vector<std::string>{"a", "c", "e", "f"}));
    EXPECT_EQ(r.errors, 4u);  // the comment, b, d, the indented line
    EXPECT_EQ(format(src, "e"), "also fine");
}

TEST(i18nFluent, ShapeListsVariablesAndSelectorKeys) {
    ParseResult r = parse("m = { $a } { $n ->\n  [one] { $b }\n *[other] { $n }\n} { $a }\n");
    ASSERT_EQ(r.messages.size(), 1u);
    Shape s = shape_of(r.messages[0].value);
    EXPECT_EQ(s.variables, (std::vector<std::string>{"a", "b", "n"}));
    EXPECT_EQ(s.selector_keys, (std::vector<std::vector<std::string>>{{"*other", "one"}}));
}

}  // namespace
}  // namespace files::i18n::fluent

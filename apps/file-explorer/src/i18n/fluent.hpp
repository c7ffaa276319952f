#pragma once
// The part of Fluent the catalogue needs: messages with values, text and variable
// placeables, string and number literals, and select expressions on numbers.
// Terms, attributes' values, message references and functions are not resolved.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "i18n/i18n.hpp"

namespace files::i18n::fluent {

struct Expression;
struct Variant;
using Pattern = std::vector<Expression>;

enum class ExprKind : std::uint8_t { Text, Variable, StringLiteral, NumberLiteral, Select };

struct Expression {
    ExprKind kind = ExprKind::Text;
    std::string text;  // Text and StringLiteral: the text; Variable: the name; NumberLiteral: its source
    double number = 0;  // NumberLiteral
    // Select: the selector is selector[0]; variants in source order.
    std::vector<Expression> selector;
    std::vector<Variant> variants;
};

struct Variant {
    bool is_number = false;
    std::string key;  // identifier, or the number's source text
    double number = 0;
    bool is_default = false;
    Pattern value;
};

struct Message {
    std::string id;
    bool has_value = false;
    Pattern value;
};

struct ParseResult {
    std::vector<Message> messages;  // in source order
    std::size_t errors = 0;  // entries skipped as junk
};

ParseResult parse(std::string_view source);

// The plural category ("zero", "one", "two", "few", "many", "other") of a number.
using PluralSelector = std::function<std::string_view(double)>;

// Messages by id, built from resources; the first definition of an id wins.
class Bundle {
public:
    explicit Bundle(PluralSelector plural) : plural_(std::move(plural)) {}
    // Adds every message that parsed; returns the number of entries skipped.
    std::size_t add_resource(std::string_view source);

    const Message* find(std::string_view id) const;
    // Appends the formatted value; false (out untouched) on any error.
    bool format(const Message& m, const MessageArgs& args, std::string& out) const;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    bool format_pattern(const Pattern& p, const MessageArgs& args, std::string& out) const;
    bool format_expression(const Expression& e, const MessageArgs& args, std::string& out) const;
    bool select(const Expression& e, const MessageArgs& args, std::string& out) const;

    PluralSelector plural_;
    std::unordered_map<std::string, Message, Hash, std::equal_to<>> messages_;
};

// Plain decimal digits, no grouping: "1000", "-3", "2.5".
void append_number(std::string& out, double v);
void append_number(std::string& out, std::int64_t v);

// The variables a pattern names and the keys of each of its selectors, for checks
// that compare two translations of one message.
struct Shape {
    std::vector<std::string> variables;  // sorted, unique
    std::vector<std::vector<std::string>> selector_keys;  // per selector in source order; default marked "*"
};
Shape shape_of(const Pattern& p);

}  // namespace files::i18n::fluent

#include "i18n/fluent.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace files::i18n::fluent {
namespace {

constexpr char kEof = '\0';

struct ParseError {};

// Follows the reference parser of the Fluent syntax: an index for consuming and a
// separate peek offset for looking ahead without consuming.
class Stream {
public:
    explicit Stream(std::string_view s) : s_(s) {}

    char at(std::size_t i) const { return i < s_.size() ? s_[i] : kEof; }
    char current() const { return at(i_); }
    char current_peek() const { return at(i_ + peek_); }
    bool eof() const { return i_ >= s_.size(); }
    void next() {
        ++i_;
        peek_ = 0;
    }
    void peek() { ++peek_; }
    void reset_peek(std::size_t offset = 0) { peek_ = offset; }
    void skip_to_peek() {
        i_ += peek_;
        peek_ = 0;
    }
    std::size_t index() const { return i_; }
    std::size_t peek_offset() const { return peek_; }
    std::string_view slice(std::size_t from, std::size_t to) const { return s_.substr(from, to - from); }

    std::string_view skip_blank_inline() {
        std::size_t start = i_;
        while (current() == ' ') next();
        return slice(start, i_);
    }
    std::size_t peek_blank_inline() {
        std::size_t start = peek_;
        while (current_peek() == ' ') peek();
        return peek_ - start;
    }
    void skip_blank_block() {
        for (;;) {
            std::size_t line_start = i_;
            skip_blank_inline();
            if (current() == '\n') {
                next();
                continue;
            }
            i_ = line_start;
            peek_ = 0;
            return;
        }
    }
    // Line ends of the blank lines ahead, one "\n" each.
    std::string peek_blank_block() {
        std::string blank;
        for (;;) {
            std::size_t line_start = peek_;
            peek_blank_inline();
            if (current_peek() == '\n') {
                blank += '\n';
                peek();
                continue;
            }
            if (i_ + peek_ >= s_.size()) return blank;
            reset_peek(line_start);
            return blank;
        }
    }
    void skip_blank() {
        while (current() == ' ' || current() == '\n') next();
    }
    void peek_blank() {
        while (current_peek() == ' ' || current_peek() == '\n') peek();
    }
    void expect(char c) {
        if (current() != c) throw ParseError{};
        next();
    }
    void expect_line_end() {
        if (eof()) return;
        if (current() == '\n') {
            next();
            return;
        }
        throw ParseError{};
    }

    static bool id_start(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool id_char(char c) { return id_start(c) || (c >= '0' && c <= '9') || c == '_' || c == '-'; }
    static bool digit(char c) { return c >= '0' && c <= '9'; }
    static bool pattern_continuation(char c) { return c != kEof && c != '}' && c != '.' && c != '[' && c != '*'; }

    bool is_number_start() const {
        char c = current() == '-' ? at(i_ + 1) : current();
        return digit(c);
    }
    bool is_value_start() const {
        char c = current_peek();
        return c != '\n' && c != kEof;
    }
    bool is_value_continuation() {
        std::size_t column1 = peek_;
        peek_blank_inline();
        if (current_peek() == '{') {
            reset_peek(column1);
            return true;
        }
        if (peek_ - column1 == 0) return false;
        if (pattern_continuation(current_peek())) {
            reset_peek(column1);
            return true;
        }
        return false;
    }
    bool is_variant_start() {
        std::size_t at_peek = peek_;
        if (current_peek() == '*') peek();
        bool yes = current_peek() == '[';
        reset_peek(at_peek);
        return yes;
    }

    // Junk runs to the next line that starts an entry.
    void skip_to_next_entry_start(std::size_t junk_start) {
        // Rewind to the line of the error: it may itself start the next entry.
        std::size_t nl = s_.rfind('\n', i_);
        if (nl != std::string_view::npos && junk_start < nl) i_ = nl;
        peek_ = 0;
        while (!eof()) {
            if (current() != '\n') {
                next();
                continue;
            }
            next();
            char first = current();
            if (id_start(first) || first == '-' || first == '#') break;
        }
    }

private:
    std::string_view s_;
    std::size_t i_ = 0;
    std::size_t peek_ = 0;
};

void append_utf8(std::string& out, std::uint32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Pattern pieces before dedentation: text, an indent (line ends plus spaces), or a placeable.
struct Piece {
    enum Kind { Text, Indent, Placeable } kind;
    std::string text;
    Expression expr;
};

class Parser {
public:
    explicit Parser(std::string_view s) : ps_(s) {}

    ParseResult run() {
        ParseResult r;
        ps_.skip_blank_block();
        while (!ps_.eof()) {
            std::size_t start = ps_.index();
            try {
                std::optional<Message> m = entry();
                ps_.expect_line_end();
                if (m) r.messages.push_back(std::move(*m));
            } catch (const ParseError&) {
                ++r.errors;
                ps_.skip_to_next_entry_start(start);
            }
            ps_.skip_blank_block();
        }
        return r;
    }

private:
    std::optional<Message> entry() {
        char c = ps_.current();
        if (c == '#') {
            comment();
            return std::nullopt;
        }
        if (c == '-') {
            // Terms parse like messages; nothing in the catalogue refers to them.
            ps_.next();
            message();
            return std::nullopt;
        }
        if (Stream::id_start(c)) return message();
        throw ParseError{};
    }

    // One comment line; following lines are entries of their own, which has the same
    // effect on messages as joining them.
    void comment() {
        int level = 0;
        while (ps_.current() == '#' && level < 3) {
            ps_.next();
            ++level;
        }
        if (ps_.current() == '\n' || ps_.eof()) return;
        ps_.expect(' ');
        while (!ps_.eof() && ps_.current() != '\n') ps_.next();
    }

    std::string identifier() {
        std::size_t start = ps_.index();
        if (!Stream::id_start(ps_.current())) throw ParseError{};
        ps_.next();
        while (Stream::id_char(ps_.current())) ps_.next();
        return std::string(ps_.slice(start, ps_.index()));
    }

    Message message() {
        Message m;
        m.id = identifier();
        ps_.skip_blank_inline();
        ps_.expect('=');
        std::optional<Pattern> value = maybe_pattern();
        bool has_attributes = attributes();
        if (!value && !has_attributes) throw ParseError{};
        if (value) {
            m.has_value = true;
            m.value = std::move(*value);
        }
        return m;
    }

    // Attributes parse but are dropped: the catalogue uses values only.
    bool attributes() {
        bool any = false;
        ps_.peek_blank();
        while (ps_.current_peek() == '.') {
            ps_.skip_to_peek();
            ps_.expect('.');
            identifier();
            ps_.skip_blank_inline();
            ps_.expect('=');
            if (!maybe_pattern()) throw ParseError{};
            any = true;
            ps_.peek_blank();
        }
        ps_.reset_peek();
        return any;
    }

    std::optional<Pattern> maybe_pattern() {
        ps_.peek_blank_inline();
        if (ps_.is_value_start()) {
            ps_.skip_to_peek();
            return pattern(false);
        }
        ps_.peek_blank_block();
        if (ps_.is_value_continuation()) {
            ps_.skip_to_peek();
            return pattern(true);
        }
        ps_.reset_peek();
        return std::nullopt;
    }

    Pattern pattern(bool is_block) {
        std::vector<Piece> pieces;
        std::size_t common = std::numeric_limits<std::size_t>::max();
        if (is_block) {
            std::string_view indent = ps_.skip_blank_inline();
            pieces.push_back({Piece::Indent, std::string(indent), {}});
            common = indent.size();
        }
        for (;;) {
            char c = ps_.current();
            if (ps_.eof()) break;
            if (c == '\n') {
                std::string blank = ps_.peek_blank_block();
                if (ps_.is_value_continuation()) {
                    ps_.skip_to_peek();
                    std::string_view indent = ps_.skip_blank_inline();
                    common = std::min(common, indent.size());
                    pieces.push_back({Piece::Indent, blank + std::string(indent), {}});
                    continue;
                }
                ps_.reset_peek();
                break;
            }
            if (c == '{') {
                pieces.push_back({Piece::Placeable, {}, placeable()});
                continue;
            }
            if (c == '}') throw ParseError{};
            std::size_t start = ps_.index();
            while (!ps_.eof() && ps_.current() != '{' && ps_.current() != '}' && ps_.current() != '\n') ps_.next();
            pieces.push_back({Piece::Text, std::string(ps_.slice(start, ps_.index())), {}});
        }
        return dedent(std::move(pieces), common);
    }

    static Pattern dedent(std::vector<Piece> pieces, std::size_t common) {
        Pattern out;
        for (auto& p : pieces) {
            if (p.kind == Piece::Placeable) {
                out.push_back(std::move(p.expr));
                continue;
            }
            if (p.kind == Piece::Indent) {
                std::size_t cut = std::min(common, p.text.size());
                p.text.resize(p.text.size() - cut);
                if (p.text.empty()) continue;
            }
            if (!out.empty() && out.back().kind == ExprKind::Text) {
                out.back().text += p.text;
                continue;
            }
            Expression t;
            t.kind = ExprKind::Text;
            t.text = std::move(p.text);
            out.push_back(std::move(t));
        }
        if (!out.empty() && out.back().kind == ExprKind::Text) {
            auto& t = out.back().text;
            while (!t.empty() && (t.back() == ' ' || t.back() == '\n')) t.pop_back();
            if (t.empty()) out.pop_back();
        }
        return out;
    }

    Expression placeable() {
        ps_.expect('{');
        ps_.skip_blank();
        Expression e = expression();
        ps_.expect('}');
        return e;
    }

    Expression expression() {
        Expression selector = inline_expression();
        ps_.skip_blank();
        if (ps_.current() == '-') {
            if (ps_.at(ps_.index() + 1) != '>') return selector;
            if (selector.kind == ExprKind::Select) throw ParseError{};  // a nested placeable
            ps_.next();
            ps_.next();
            ps_.skip_blank_inline();
            ps_.expect_line_end();
            Expression sel;
            sel.kind = ExprKind::Select;
            sel.selector.push_back(std::move(selector));
            sel.variants = variants();
            return sel;
        }
        return selector;
    }

    Expression inline_expression() {
        char c = ps_.current();
        if (c == '{') {
            Expression inner = placeable();
            // A nested placeable: a select without selector and with one default variant,
            // so it needs no kind of its own and cannot serve as a selector.
            Expression wrap;
            wrap.kind = ExprKind::Select;
            Variant v;
            v.is_default = true;
            v.key = "other";
            v.value.push_back(std::move(inner));
            wrap.variants.push_back(std::move(v));
            return wrap;
        }
        if (ps_.is_number_start()) return number();
        if (c == '"') return string_literal();
        if (c == '$') {
            ps_.next();
            Expression v;
            v.kind = ExprKind::Variable;
            v.text = identifier();
            return v;
        }
        // Term and message references and functions are not part of the catalogue.
        throw ParseError{};
    }

    Expression number() {
        std::size_t start = ps_.index();
        if (ps_.current() == '-') ps_.next();
        if (!Stream::digit(ps_.current())) throw ParseError{};
        while (Stream::digit(ps_.current())) ps_.next();
        if (ps_.current() == '.') {
            ps_.next();
            if (!Stream::digit(ps_.current())) throw ParseError{};
            while (Stream::digit(ps_.current())) ps_.next();
        }
        Expression e;
        e.kind = ExprKind::NumberLiteral;
        e.text = std::string(ps_.slice(start, ps_.index()));
        e.number = std::strtod(e.text.c_str(), nullptr);
        return e;
    }

    Expression string_literal() {
        ps_.expect('"');
        Expression e;
        e.kind = ExprKind::StringLiteral;
        for (;;) {
            char c = ps_.current();
            if (ps_.eof() || c == '\n') throw ParseError{};
            ps_.next();
            if (c == '"') break;
            if (c != '\\') {
                e.text += c;
                continue;
            }
            char esc = ps_.current();
            if (esc == '\\' || esc == '"') {
                e.text += esc;
                ps_.next();
            } else if (esc == 'u' || esc == 'U') {
                ps_.next();
                int len = esc == 'u' ? 4 : 6;
                std::uint32_t cp = 0;
                for (int k = 0; k < len; ++k) {
                    char h = ps_.current();
                    int d = h >= '0' && h <= '9' ? h - '0' : h >= 'a' && h <= 'f' ? h - 'a' + 10 : h >= 'A' && h <= 'F' ? h - 'A' + 10 : -1;
                    if (d < 0) throw ParseError{};
                    cp = cp * 16 + std::uint32_t(d);
                    ps_.next();
                }
                append_utf8(e.text, cp);
            } else {
                throw ParseError{};
            }
        }
        return e;
    }

    std::vector<Variant> variants() {
        std::vector<Variant> out;
        bool has_default = false;
        ps_.skip_blank();
        while (ps_.is_variant_start()) {
            Variant v;
            if (ps_.current() == '*') {
                if (has_default) throw ParseError{};
                ps_.next();
                v.is_default = true;
                has_default = true;
            }
            ps_.expect('[');
            ps_.skip_blank();
            char c = ps_.current();
            if (Stream::digit(c) || c == '-') {
                Expression n = number();
                v.is_number = true;
                v.key = n.text;
                v.number = n.number;
            } else {
                v.key = identifier();
            }
            ps_.skip_blank();
            ps_.expect(']');
            std::optional<Pattern> value = maybe_pattern();
            if (!value) throw ParseError{};
            v.value = std::move(*value);
            out.push_back(std::move(v));
            ps_.expect_line_end();
            ps_.skip_blank();
        }
        if (out.empty() || !has_default) throw ParseError{};
        return out;
    }

    Stream ps_;
};

const MessageValue* find_arg(const MessageArgs& args, std::string_view name) {
    for (const auto& [n, v] : args.items())
        if (n == name) return &v;
    return nullptr;
}

void collect_shape(const Pattern& p, Shape& s) {
    for (const auto& e : p) {
        if (e.kind == ExprKind::Variable) s.variables.push_back(e.text);
        if (e.kind != ExprKind::Select) continue;
        collect_shape(e.selector, s);
        if (!e.selector.empty()) {
            std::vector<std::string> keys;
            for (const auto& v : e.variants) keys.push_back((v.is_default ? "*" : "") + v.key);
            std::sort(keys.begin(), keys.end());
            s.selector_keys.push_back(std::move(keys));
        }
        for (const auto& v : e.variants) collect_shape(v.value, s);
    }
}

}  // namespace

ParseResult parse(std::string_view source) {
    if (source.find('\r') == std::string_view::npos) return Parser(source).run();
    // Fluent treats CRLF as one line end.
    std::string lf;
    lf.reserve(source.size());
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (source[i] == '\r' && i + 1 < source.size() && source[i + 1] == '\n') continue;
        lf += source[i];
    }
    return Parser(lf).run();
}

std::size_t Bundle::add_resource(std::string_view source) {
    ParseResult r = parse(source);
    for (auto& m : r.messages) {
        std::string id = m.id;
        messages_.try_emplace(std::move(id), std::move(m));
    }
    return r.errors;
}

const Message* Bundle::find(std::string_view id) const {
    auto it = messages_.find(id);
    return it == messages_.end() ? nullptr : &it->second;
}

bool Bundle::format(const Message& m, const MessageArgs& args, std::string& out) const {
    if (!m.has_value) return false;
    std::size_t mark = out.size();
    if (format_pattern(m.value, args, out)) return true;
    out.resize(mark);
    return false;
}

bool Bundle::format_pattern(const Pattern& p, const MessageArgs& args, std::string& out) const {
    for (const auto& e : p)
        if (!format_expression(e, args, out)) return false;
    return true;
}

bool Bundle::format_expression(const Expression& e, const MessageArgs& args, std::string& out) const {
    switch (e.kind) {
        case ExprKind::Text:
        case ExprKind::StringLiteral: out += e.text; return true;
        case ExprKind::NumberLiteral: out += e.text; return true;
        case ExprKind::Variable: {
            const MessageValue* v = find_arg(args, e.text);
            if (!v) return false;
            if (auto* s = std::get_if<std::string>(v)) out += *s;
            else if (auto* i = std::get_if<std::int64_t>(v)) append_number(out, *i);
            else append_number(out, std::get<double>(*v));
            return true;
        }
        case ExprKind::Select: return select(e, args, out);
    }
    return false;
}

bool Bundle::select(const Expression& e, const MessageArgs& args, std::string& out) const {
    const Variant* chosen = nullptr;
    const Variant* fallback = nullptr;
    for (const auto& v : e.variants)
        if (v.is_default) fallback = &v;
    if (e.selector.empty()) return fallback && format_pattern(fallback->value, args, out);

    const Expression& s = e.selector.front();
    std::optional<double> number;
    const std::string* text = nullptr;
    if (s.kind == ExprKind::Variable) {
        const MessageValue* v = find_arg(args, s.text);
        if (!v) return false;
        if (auto* str = std::get_if<std::string>(v)) text = str;
        else if (auto* i = std::get_if<std::int64_t>(v)) number = double(*i);
        else number = std::get<double>(*v);
    } else if (s.kind == ExprKind::NumberLiteral) {
        number = s.number;
    } else if (s.kind == ExprKind::StringLiteral) {
        text = &s.text;
    }

    if (text) {
        for (const auto& v : e.variants)
            if (!v.is_number && v.key == *text) {
                chosen = &v;
                break;
            }
    } else if (number) {
        std::string_view category;
        bool have_category = false;
        for (const auto& v : e.variants) {
            if (v.is_number) {
                if (v.number == *number) {
                    chosen = &v;
                    break;
                }
                continue;
            }
            if (!have_category) {
                category = plural_ ? plural_(*number) : std::string_view("other");
                have_category = true;
            }
            if (v.key == category) {
                chosen = &v;
                break;
            }
        }
    }
    if (!chosen) chosen = fallback;
    return chosen && format_pattern(chosen->value, args, out);
}

void append_number(std::string& out, std::int64_t v) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

void append_number(std::string& out, double v) {
    if (std::isfinite(v) && v == std::trunc(v) && std::fabs(v) < 9.0e15) {
        append_number(out, std::int64_t(v));
        return;
    }
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

Shape shape_of(const Pattern& p) {
    Shape s;
    collect_shape(p, s);
    std::sort(s.variables.begin(), s.variables.end());
    s.variables.erase(std::unique(s.variables.begin(), s.variables.end()), s.variables.end());
    return s;
}

}  // namespace files::i18n::fluent

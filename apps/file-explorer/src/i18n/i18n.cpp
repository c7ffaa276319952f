#include "i18n/i18n.hpp"

#include <unicode/plurrule.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <shared_mutex>

#include "i18n/catalogue.hpp"
#include "i18n/fluent.hpp"
#include "i18n/icu_locale.hpp"

namespace files::i18n {

MessageArgs& MessageArgs::set(std::string name, std::string value) {
    return set_value(std::move(name), MessageValue(std::move(value)));
}

MessageArgs& MessageArgs::set_value(std::string name, MessageValue value) {
    items_.emplace_back(std::move(name), std::move(value));
    return *this;
}
namespace {

bool is_alpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool all_of(std::string_view s, bool (*f)(char)) {
    for (char c : s)
        if (!f(c)) return false;
    return true;
}
bool is_alnum(char c) { return is_alpha(c) || is_digit(c); }
char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
char upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

std::string_view trim(std::string_view s) {
    constexpr std::string_view ws = " \t\n\r\f\v";
    auto b = s.find_first_not_of(ws);
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(ws) - b + 1);
}

bool valid_utf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        int len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (len == 0 || i + len > s.size()) return false;
        std::uint32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k < len; ++k) {
            auto d = static_cast<unsigned char>(s[i + k]);
            if ((d >> 6) != 0x2) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        static constexpr std::uint32_t min_for_len[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < min_for_len[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += len;
    }
    return true;
}

// ---- Process locale ----

std::shared_mutex g_locale_mutex;
std::optional<LocaleId> g_locale;

void ensure_process_locale() {
    {
        std::shared_lock lk(g_locale_mutex);
        if (g_locale) return;
    }
    LocaleId detected = detect_locale();
    std::unique_lock lk(g_locale_mutex);
    if (!g_locale) g_locale = std::move(detected);
}

// ---- Bundles ----

std::string_view category_name(const icu::UnicodeString& k) {
    static constexpr std::array<std::string_view, 6> names = {"zero", "one", "two", "few", "many", "other"};
    for (auto n : names)
        if (k == icu::UnicodeString(n.data(), int32_t(n.size()), US_INV)) return n;
    return "other";
}

// CLDR cardinal rules of a locale; small whole numbers are looked up once each.
class PluralRules {
public:
    explicit PluralRules(const LocaleId& locale) {
        UErrorCode status = U_ZERO_ERROR;
        rules_.reset(icu::PluralRules::forLocale(detail::formatting_locale(locale), UPLURAL_TYPE_CARDINAL, status));
        if (U_FAILURE(status)) rules_.reset();
        for (std::size_t i = 0; i < small_.size(); ++i) small_[i] = compute(double(i));
    }
    std::string_view select(double n) const {
        if (n >= 0 && n < double(small_.size()) && n == double(std::size_t(n))) return small_[std::size_t(n)];
        return compute(n);
    }

private:
    std::string_view compute(double n) const {
        if (!rules_) return "other";
        return category_name(rules_->select(n));
    }
    std::unique_ptr<icu::PluralRules> rules_;
    std::array<std::string_view, 256> small_{};
};

struct BundleCache {
    LocaleId locale;
    std::shared_ptr<PluralRules> plurals;
    std::unique_ptr<fluent::Bundle> source;
    std::unique_ptr<fluent::Bundle> german;

    BundleCache() { build(LocaleId{}); }

    void build(const LocaleId& l) {
        locale = l;
        plurals = std::make_shared<PluralRules>(l);
        auto select = [p = plurals](double n) { return p->select(n); };
        german.reset();
        if (l.language == "de") {
            german = std::make_unique<fluent::Bundle>(select);
            german->add_resource(catalogue::de_de);
        }
        source = std::make_unique<fluent::Bundle>(select);
        source->add_resource(catalogue::en_us);
    }
};

BundleCache& thread_cache() {
    thread_local BundleCache cache;
    return cache;
}

bool try_format(const fluent::Bundle* b, std::string_view id, const MessageArgs& args, std::string& out) {
    if (!b) return false;
    const fluent::Message* m = b->find(id);
    return m && b->format(*m, args, out);
}

std::string resolve(const BundleCache& cache, std::string_view id, const MessageArgs& args) {
    std::string out;
    if (!try_format(cache.german.get(), id, args, out) && !try_format(cache.source.get(), id, args, out))
        out.assign(id);
    if (cache.locale.language == "qps") return pseudo_localise(out, args);
    return out;
}

// ---- Pseudo-localisation ----

void append_accented(std::string& out, std::string_view text) {
    for (char c : text) {
        const char* to = nullptr;
        switch (c) {
            case 'a': to = "\u00E1"; break;
            case 'c': to = "\u00E7"; break;
            case 'e': to = "\u00E9"; break;
            case 'i': to = "\u00ED"; break;
            case 'n': to = "\u00F1"; break;
            case 'o': to = "\u00F3"; break;
            case 'u': to = "\u00FA"; break;
            case 'A': to = "\u00C1"; break;
            case 'C': to = "\u00C7"; break;
            case 'E': to = "\u00C9"; break;
            case 'I': to = "\u00CD"; break;
            case 'N': to = "\u00D1"; break;
            case 'O': to = "\u00D3"; break;
            case 'U': to = "\u00DA"; break;
            default: break;
        }
        if (to) out += to;
        else out += c;
    }
}

}  // namespace

// ---- Locale identifiers ----

std::string LocaleId::to_string() const {
    std::string s = language;
    for (const std::string* part : {&script, &region})
        if (!part->empty()) s += "-" + *part;
    for (const auto& v : variants) s += "-" + v;
    return s;
}

std::optional<LocaleId> parse_locale_id(std::string_view tag) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        std::size_t dash = tag.find('-', start);
        parts.push_back(tag.substr(start, dash == std::string_view::npos ? std::string_view::npos : dash - start));
        if (dash == std::string_view::npos) break;
        start = dash + 1;
    }
    std::size_t i = 0;
    auto lang = parts[i];
    if (!((lang.size() >= 2 && lang.size() <= 3) || (lang.size() >= 5 && lang.size() <= 8)) || !all_of(lang, is_alpha))
        return std::nullopt;
    LocaleId id;
    id.language.clear();
    id.region.clear();
    for (char c : lang) id.language += lower(c);
    ++i;
    if (i < parts.size() && parts[i].size() == 4 && all_of(parts[i], is_alpha)) {
        for (std::size_t k = 0; k < 4; ++k) id.script += k == 0 ? upper(parts[i][k]) : lower(parts[i][k]);
        ++i;
    }
    if (i < parts.size() && ((parts[i].size() == 2 && all_of(parts[i], is_alpha)) ||
                             (parts[i].size() == 3 && all_of(parts[i], is_digit)))) {
        for (char c : parts[i]) id.region += upper(c);
        ++i;
    }
    for (; i < parts.size(); ++i) {
        auto v = parts[i];
        bool ok = ((v.size() >= 5 && v.size() <= 8) || (v.size() == 4 && is_digit(v[0]))) && all_of(v, is_alnum);
        if (!ok) return std::nullopt;
        std::string lv;
        for (char c : v) lv += lower(c);
        id.variants.push_back(std::move(lv));
    }
    return id;
}

LocaleId detect_locale() {
    for (const char* name : {"LC_ALL", "LANGUAGE", "LANG"}) {
        const char* raw = std::getenv(name);
        if (!raw || !valid_utf8(raw)) continue;
        std::string_view value = trim(raw);
        if (value.empty()) continue;
        std::string_view first = trim(value.substr(0, value.find(':')));
        std::string_view cut = first.substr(0, first.find_first_of(".@"));
        if (!cut.empty() && cut != "C" && cut != "POSIX") {
            std::string tag(cut);
            for (char& c : tag)
                if (c == '_') c = '-';
            if (auto id = parse_locale_id(tag)) return *id;
        }
        // C and POSIX decide for English; an unparsable value lets the next variable decide.
        if (cut == "C" || cut == "POSIX") return LocaleId{};
    }
    return LocaleId{};
}

LocaleId current_locale() {
    ensure_process_locale();
    std::shared_lock lk(g_locale_mutex);
    return *g_locale;
}

void set_process_locale(const LocaleId& locale) {
    std::unique_lock lk(g_locale_mutex);
    g_locale = locale;
}

// ---- Lookups ----

std::string tr(std::string_view id) { return tr_args(id, MessageArgs()); }

std::string tr_args(std::string_view id, const MessageArgs& args) {
    ensure_process_locale();
    BundleCache& cache = thread_cache();
    {
        std::shared_lock lk(g_locale_mutex);
        if (!(cache.locale == *g_locale)) {
            LocaleId wanted = *g_locale;
            lk.unlock();
            cache.build(wanted);
        }
    }
    return resolve(cache, id, args);
}

std::string tr_in(const LocaleId& locale, std::string_view id, const MessageArgs& args) {
    BundleCache& cache = thread_cache();
    if (!(cache.locale == locale)) cache.build(locale);
    return resolve(cache, id, args);
}

std::string pseudo_localise(std::string_view text, const MessageArgs& args) {
    std::vector<std::string_view> protect;
    for (const auto& [name, value] : args.items())
        if (auto* s = std::get_if<std::string>(&value); s && !s->empty()) protect.push_back(*s);

    // Split the text into plain runs and protected values, earlier values first; a
    // later value is never looked for inside an earlier one.
    struct Run {
        std::string_view text;
        int value = -1;
    };
    std::vector<Run> runs{{text, -1}};
    for (std::size_t i = 0; i < protect.size(); ++i) {
        std::vector<Run> next;
        for (const Run& r : runs) {
            if (r.value >= 0) {
                next.push_back(r);
                continue;
            }
            std::string_view rest = r.text;
            for (std::size_t at; (at = rest.find(protect[i])) != std::string_view::npos;) {
                if (at > 0) next.push_back({rest.substr(0, at), -1});
                next.push_back({protect[i], int(i)});
                rest.remove_prefix(at + protect[i].size());
            }
            if (!rest.empty()) next.push_back({rest, -1});
        }
        runs = std::move(next);
    }

    std::string out;
    out.reserve(text.size() + 8);
    out += '[';
    for (const Run& r : runs) {
        if (r.value >= 0) out += r.text;
        else append_accented(out, r.text);
    }
    out += " !!]";
    return out;
}

std::string entry_size_text(bool is_dir, std::uint64_t size) { return is_dir ? std::string("\u2014") : format_size(size); }

}  // namespace files::i18n

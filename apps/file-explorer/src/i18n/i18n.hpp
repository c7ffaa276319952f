#pragma once
// Catalogue lookups by message id in the process locale, and the locale's size and
// time formatting. Every call may come from any thread and always gives text.
#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace files::i18n {

// Text is inserted as it is; numbers select plural variants and print as plain
// digits. Integers stay exact beyond 2^53.
using MessageValue = std::variant<std::string, std::int64_t, double>;

class MessageArgs {
public:
    // Out of line: inlined variant moves trip a false maybe-uninitialized warning in GCC 12.
    MessageArgs& set(std::string name, std::string value);
    MessageArgs& set(std::string name, std::string_view value) { return set(std::move(name), std::string(value)); }
    MessageArgs& set(std::string name, const char* value) { return set(std::move(name), std::string(value)); }
    template <typename N>
        requires std::is_arithmetic_v<N>
    MessageArgs& set(std::string name, N value) {
        if constexpr (std::is_floating_point_v<N>) return set_value(std::move(name), MessageValue(double(value)));
        else return set_value(std::move(name), MessageValue(std::int64_t(value)));
    }
    // In the order set; the order only matters to pseudo-localisation.
    const std::vector<std::pair<std::string, MessageValue>>& items() const { return items_; }

private:
    MessageArgs& set_value(std::string name, MessageValue value);
    std::vector<std::pair<std::string, MessageValue>> items_;
};

// A BCP 47 language identifier: language, optional script and region, variants.
struct LocaleId {
    std::string language = "en";
    std::string script;
    std::string region = "US";
    std::vector<std::string> variants;

    std::string to_string() const;  // "de-CH", "sr-Latn-RS"
    friend bool operator==(const LocaleId&, const LocaleId&) = default;
};

// Parses "de-DE", "de-CH", "qps"; case is normalised. No value for anything else.
std::optional<LocaleId> parse_locale_id(std::string_view tag);
// Reads LC_ALL, LANGUAGE and LANG now; en-US when none decides.
LocaleId detect_locale();
// The process locale, detected on the first call and kept.
LocaleId current_locale();
// Replaces the process locale; for tests, which need several locales in one process.
void set_process_locale(const LocaleId& locale);

std::string tr(std::string_view id);
std::string tr_args(std::string_view id, const MessageArgs& args);
// The same lookup for a given locale instead of the process locale.
std::string tr_in(const LocaleId& locale, std::string_view id, const MessageArgs& args = {});

// "[" + accented text + " !!]", leaving the text arguments' values as they are.
std::string pseudo_localise(std::string_view text, const MessageArgs& args = {});

// Decimal units, one fraction digit at most, number and unit joined by U+00A0.
std::string format_size(std::uint64_t bytes);
std::string format_size(std::uint64_t bytes, const LocaleId& locale);

// A wall-clock date and time with the offset from UTC that it was read in.
struct LocalDateTime {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;  // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int utc_offset_seconds = 0;
    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

// The local time zone's view of a Unix time; no value when it is no calendar date
// (before year 1 or after year 9999 of the local calendar).
std::optional<LocalDateTime> local_datetime(std::int64_t unix_seconds);

// Date and time to the minute in the locale's style; "%Y-%m-%d %H:%M" when the
// locale has no formatter or the value is no valid date.
std::string format_datetime(const LocalDateTime& t);
std::string format_datetime(const LocalDateTime& t, const LocaleId& locale);
// Negative or unrepresentable times read "unknown time" (files-time-unknown).
std::string format_timestamp_ms(std::int64_t ms);
std::string format_timestamp_ms(std::int64_t ms, const LocaleId& locale);
// "—" when there is no time.
std::string format_modified(const std::optional<LocalDateTime>& t);

// "—" for a folder whatever its recorded size, else its format_size.
std::string entry_size_text(bool is_dir, std::uint64_t size);
template <typename Entry>
    requires requires(const Entry& e) {
        { e.is_dir } -> std::convertible_to<bool>;
        { e.size } -> std::convertible_to<std::uint64_t>;
    }
std::string entry_size_text(const Entry& e) {
    return entry_size_text(bool(e.is_dir), std::uint64_t(e.size));
}

// Full Unicode lower-case mapping, locale-independent, for sorting by name.
std::string full_lowercase(std::string_view utf8);

}  // namespace files::i18n

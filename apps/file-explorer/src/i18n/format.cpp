// Sizes, dates and case mapping through ICU.
#include <unicode/datefmt.h>
#include <unicode/numberformatter.h>
#include <unicode/simpletz.h>
#include <unicode/unistr.h>

#include <cstdio>
#include <ctime>
#include <limits>
#include <memory>

#include "i18n/i18n.hpp"
#include "i18n/icu_locale.hpp"

namespace files::i18n {

namespace detail {

icu::Locale formatting_locale(const LocaleId& locale) {
    if (locale.language == "qps") return icu::Locale("en", "US");
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale l = icu::Locale::forLanguageTag(locale.to_string(), status);
    if (U_FAILURE(status) || l.isBogus()) return icu::Locale::getRoot();
    return l;
}

}  // namespace detail

namespace {

__extension__ typedef unsigned __int128 u128;

// Formatters are costly to create and not cheap to share safely; one per thread,
// for the locale asked last.
struct ThreadFormatters {
    std::optional<LocaleId> locale;
    std::optional<icu::number::LocalizedNumberFormatter> number;
    std::unique_ptr<icu::DateFormat> date;

    void use(const LocaleId& l) {
        if (locale && *locale == l) return;
        locale = l;
        icu::Locale icu_locale = detail::formatting_locale(l);
        number = icu::number::NumberFormatter::withLocale(icu_locale);
        UErrorCode status = U_ZERO_ERROR;
        date.reset(icu::DateFormat::createInstanceForSkeleton(icu::UnicodeString("yMMMdjmm", -1, US_INV),
                                                              icu_locale, status));
        if (U_FAILURE(status)) date.reset();
    }
};

ThreadFormatters& formatters(const LocaleId& l) {
    thread_local ThreadFormatters f;
    f.use(l);
    return f;
}

// The number as ICU formats it for the locale, or plain digits when it cannot.
std::string localised_decimal(const LocaleId& locale, std::string_view plain) {
    auto& f = formatters(locale);
    if (f.number) {
        UErrorCode status = U_ZERO_ERROR;
        icu::number::FormattedNumber n = f.number->formatDecimal(icu::StringPiece(plain.data(), int32_t(plain.size())), status);
        std::string out;
        if (U_SUCCESS(status)) {
            icu::UnicodeString u = n.toString(status);
            if (U_SUCCESS(status)) u.toUTF8String(out);
        }
        if (!out.empty()) return out;
    }
    return std::string(plain);
}

constexpr bool is_leap(long long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int days_in_month(long long y, int m) {
    static constexpr int d[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && is_leap(y) ? 29 : d[m - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date.
long long days_from_civil(long long y, int m, int d) {
    y -= m <= 2;
    long long era = (y >= 0 ? y : y - 399) / 400;
    long long yoe = y - era * 400;
    long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::string fixed_pattern(const LocalDateTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour, t.minute);
    return buf;
}

}  // namespace

std::string format_size(std::uint64_t bytes) { return format_size(bytes, current_locale()); }

std::string format_size(std::uint64_t n, const LocaleId& locale) {
    static constexpr const char* units[] = {"B", "kB", "MB", "GB", "TB", "PB", "EB"};
    int k = 0;
    u128 divisor = 1;
    while (k < 6 && divisor * 1000 <= n) {
        divisor *= 1000;
        ++k;
    }
    std::string plain;
    if (k == 0) {
        plain = std::to_string(n);
    } else {
        // Tenths, rounded half up; the unit stays even when this reaches 1000.
        auto q = static_cast<std::uint64_t>((u128(n) * 10 + divisor / 2) / divisor);
        plain = std::to_string(q / 10);
        if (q % 10 != 0) plain += "." + std::to_string(q % 10);
    }
    return localised_decimal(locale, plain) + "\u00A0" + units[k];
}

std::optional<LocalDateTime> local_datetime(std::int64_t unix_seconds) {
    if (unix_seconds < std::numeric_limits<std::time_t>::min() || unix_seconds > std::numeric_limits<std::time_t>::max())
        return std::nullopt;
    std::time_t t = static_cast<std::time_t>(unix_seconds);
    std::tm tm{};
    // Outside years 1 to 9999 a date has no four-digit year; treat it as no date at all.
    if (!::localtime_r(&t, &tm) || tm.tm_year < 1 - 1900 || tm.tm_year > 9999 - 1900) return std::nullopt;
    return LocalDateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                         int(tm.tm_gmtoff)};
}

std::string format_datetime(const LocalDateTime& t) { return format_datetime(t, current_locale()); }

std::string format_datetime(const LocalDateTime& t, const LocaleId& locale) {
    bool valid = t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= days_in_month(t.year, t.month) &&
                 t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 60;
    auto& f = formatters(locale);
    if (!valid || !f.date) return fixed_pattern(t);

    long long local_seconds = days_from_civil(t.year, t.month, t.day) * 86400LL + t.hour * 3600LL + t.minute * 60LL + t.second;
    UDate when = double(local_seconds - t.utc_offset_seconds) * 1000.0;
    f.date->adoptTimeZone(new icu::SimpleTimeZone(t.utc_offset_seconds * 1000, icu::UnicodeString("local", -1, US_INV)));
    icu::UnicodeString u;
    f.date->format(when, u);
    std::string out;
    u.toUTF8String(out);
    return out.empty() ? fixed_pattern(t) : out;
}

std::string format_timestamp_ms(std::int64_t ms) { return format_timestamp_ms(ms, current_locale()); }

std::string format_timestamp_ms(std::int64_t ms, const LocaleId& locale) {
    std::optional<LocalDateTime> t;
    if (ms >= 0) t = local_datetime(ms / 1000);
    if (!t) return tr_in(locale, "files-time-unknown");
    return format_datetime(*t, locale);
}

std::string format_modified(const std::optional<LocalDateTime>& t) { return t ? format_datetime(*t) : std::string("\u2014"); }

std::string full_lowercase(std::string_view utf8) {
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), int32_t(utf8.size())));
    u.toLower(icu::Locale::getRoot());
    std::string out;
    u.toUTF8String(out);
    return out;
}

}  // namespace files::i18n

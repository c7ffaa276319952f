// Sizes, dates and case mapping in en-US and de-DE.
#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <limits>

#include "i18n/i18n.hpp"
#include "temp_dir.hpp"

namespace files::i18n {
namespace {

const LocaleId en_us{};
const LocaleId de_de{"de", "", "DE", {}};

TEST(i18nFormatSize, EnglishAndGerman) {
    struct Row {
        std::uint64_t bytes;
        const char* en;
        const char* de;
    };
    const Row rows[] = {
        {0, "0\u00A0B", "0\u00A0B"},
        {999, "999\u00A0B", "999\u00A0B"},
        {1000, "1\u00A0kB", "1\u00A0kB"},
        {1049, "1\u00A0kB", "1\u00A0kB"},
        {1050, "1.1\u00A0kB", "1,1\u00A0kB"},
        {1500, "1.5\u00A0kB", "1,5\u00A0kB"},
        {999'999, "1,000\u00A0kB", "1.000\u00A0kB"},
        {2'000'000, "2\u00A0MB", "2\u00A0MB"},
        {999'950'000'000'000'000ULL, "1,000\u00A0PB", "1.000\u00A0PB"},
        {std::numeric_limits<std::uint64_t>::max(), "18.4\u00A0EB", "18,4\u00A0EB"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(format_size(r.bytes, en_us), r.en) << r.bytes;
        EXPECT_EQ(format_size(r.bytes, de_de), r.de) << r.bytes;
    }
    // qps formats as en-US.
    EXPECT_EQ(format_size(1050, *parse_locale_id("qps")), "1.1\u00A0kB");
}

TEST(i18nFormatTime, UnknownTimes) {
    for (std::int64_t ms : {std::int64_t(-1), std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()}) {
        EXPECT_EQ(format_timestamp_ms(ms, en_us), "unknown time") << ms;
        EXPECT_EQ(format_timestamp_ms(ms, de_de), "unbekannter Zeitpunkt") << ms;
    }
}

TEST(i18nFormatTime, DateAndTimeToTheMinute) {
    const LocalDateTime t{2026, 3, 5, 14, 7, 59, 3600};
    EXPECT_EQ(format_datetime(t, de_de), "5. M\u00E4rz 2026, 14:07");
    EXPECT_EQ(format_datetime(t, en_us), "Mar 5, 2026, 2:07\u202FPM");
    // Not a calendar date, or an hour out of range: the fixed pattern.
    EXPECT_EQ(format_datetime({2026, 2, 30, 14, 7, 0, 0}, en_us), "2026-02-30 14:07");
    EXPECT_EQ(format_datetime({2026, 3, 5, 24, 0, 0, 0}, de_de), "2026-03-05 24:00");
}

TEST(i18nFormatTime, TimestampsUseTheLocalZone) {
    files::testing::ScopedEnv tz("TZ", "Europe/Berlin");
    ::tzset();
    // 2026-03-05 13:07:30 UTC is 14:07 in Berlin (UTC+1 in winter).
    const std::int64_t ms = 1'772'716'050'000;
    auto local = local_datetime(ms / 1000);
    ASSERT_TRUE(local);
    EXPECT_EQ(*local, (LocalDateTime{2026, 3, 5, 14, 7, 30, 3600}));
    EXPECT_EQ(format_timestamp_ms(ms, de_de), "5. M\u00E4rz 2026, 14:07");
    EXPECT_EQ(format_timestamp_ms(0, de_de), "1. Jan. 1970, 01:00");
}

TEST(i18nFormatEntries, FoldersAndMissingTimesShowADash) {
    struct Entry {
        bool is_dir;
        std::uint64_t size;
    };
    set_process_locale(en_us);
    EXPECT_EQ(entry_size_text(Entry{true, 5000}), "\u2014");
    EXPECT_EQ(entry_size_text(Entry{false, 5000}), "5\u00A0kB");
    EXPECT_EQ(format_modified(std::nullopt), "\u2014");
    EXPECT_EQ(format_modified(LocalDateTime{2026, 3, 5, 14, 7, 0, 0}), "Mar 5, 2026, 2:07\u202FPM");
}

TEST(i18nFullLowercase, UsesTheFullMapping) {
    EXPECT_EQ(full_lowercase("\u00C4RGER.TXT"), "\u00E4rger.txt");
    EXPECT_EQ(full_lowercase("\u0130stanbul"), "i\u0307stanbul");  // one letter becomes two
    EXPECT_EQ(full_lowercase("\u1E9E"), "\u00DF");
    EXPECT_EQ(full_lowercase(""), "");
}

}  // namespace
}  // namespace files::i18n

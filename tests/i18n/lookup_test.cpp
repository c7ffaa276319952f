// Locale detection from the environment and lookups in the detected locale.
#include <gtest/gtest.h>

#include <thread>

#include "i18n/i18n.hpp"
#include "temp_dir.hpp"

namespace files::i18n {
namespace {

using files::testing::ScopedEnv;

struct LookupCase {
    const char* name;
    const char* lc_all;  // nullptr: unset
    const char* language;
    const char* lang;
    const char* locale;  // the detected identifier
    std::string_view id;
    MessageArgs args;
    std::string expected;
};

class Lookups : public ::testing::TestWithParam<LookupCase> {};

TEST_P(Lookups, DetectAndFormat) {
    const LookupCase& c = GetParam();
    ScopedEnv a("LC_ALL", c.lc_all), b("LANGUAGE", c.language), l("LANG", c.lang);
    LocaleId locale = detect_locale();
    EXPECT_EQ(locale.to_string(), c.locale);
    EXPECT_EQ(tr_in(locale, c.id, c.args), c.expected);
}

const MessageArgs none;
MessageArgs count(std::int64_t n) { return MessageArgs().set("count", n); }

// clang-format off
INSTANTIATE_TEST_SUITE_P(i18n, Lookups, ::testing::Values(
    LookupCase{"nothing_set", nullptr, nullptr, nullptr, "en-US", "files-app-title", none, "Files"},
    LookupCase{"lang_de_utf8", nullptr, nullptr, "de_DE.UTF-8", "de-DE", "files-app-title", none, "Dateien"},
    LookupCase{"lang_de_ch", nullptr, nullptr, "de_CH", "de-CH", "files-place-trash", none, "Papierkorb"},
    LookupCase{"lang_de_euro_modifier", nullptr, nullptr, "de_DE@euro", "de-DE", "files-app-title", none, "Dateien"},
    LookupCase{"lc_all_c_beats_lang", "C", nullptr, "de_DE.UTF-8", "en-US", "files-app-title", none, "Files"},
    LookupCase{"lc_all_posix_utf8", "POSIX.UTF-8", nullptr, "de_DE.UTF-8", "en-US", "files-app-title", none, "Files"},
    LookupCase{"blank_language_skipped", nullptr, "  ", "de_DE.UTF-8", "de-DE", "files-app-title", none, "Dateien"},
    LookupCase{"unparsable_lc_all_skipped", "not a locale!", nullptr, "de_DE.UTF-8", "de-DE", "files-app-title", none, "Dateien"},
    LookupCase{"language_list_first_entry", nullptr, "de:en", "en_US.UTF-8", "de", "files-app-title", none, "Dateien"},
    LookupCase{"empty_language_skipped", nullptr, "", "de_DE.UTF-8", "de-DE", "files-app-title", none, "Dateien"},
    LookupCase{"german_plural_one", nullptr, nullptr, "de_DE.UTF-8", "de-DE", "files-item-count", count(1), "1 Element"},
    LookupCase{"german_selector_moves", nullptr, nullptr, "de_AT.UTF-8", "de-AT", "files-keeping-offline", count(1),
               "1 Element wird offline verf\u00FCgbar gehalten"},
    LookupCase{"french_rules_zero_is_one", nullptr, nullptr, "fr_FR.UTF-8", "fr-FR", "files-item-count", count(0), "0 item"},
    LookupCase{"french_rules_two_is_other", nullptr, nullptr, "fr_FR.UTF-8", "fr-FR", "files-item-count", count(2), "2 items"},
    LookupCase{"english_zero_is_other", nullptr, nullptr, "en_US.UTF-8", "en-US", "files-item-count", count(0), "0 items"},
    LookupCase{"numbers_without_grouping", nullptr, nullptr, nullptr, "en-US", "files-emptied-trash", count(12345), "Emptied Trash (12345)"},
    LookupCase{"literal_grouping_kept", nullptr, nullptr, nullptr, "en-US", "files-share-invalid-uses", none,
               "Share links require a use limit from 1 to 1,000"},
    LookupCase{"selected_count_spacing", nullptr, nullptr, nullptr, "en-US", "files-selected-count",
               MessageArgs().set("base", "4 items").set("count", 2), "4 items  \u00B7  2 selected"},
    LookupCase{"selector_alone", nullptr, nullptr, "de_DE.UTF-8", "de-DE", "files-empty-trash-summary", count(3),
               "Alle 3 Elemente werden aus dem Papierkorb entfernt."},
    LookupCase{"qps_plain", nullptr, nullptr, "qps", "qps", "files-app-title", none, "[F\u00EDl\u00E9s !!]"},
    LookupCase{"qps_protects_text_argument", nullptr, nullptr, "qps", "qps", "files-archive-created",
               MessageArgs().set("name", "banana.txt"), "[\u00C7r\u00E9\u00E1t\u00E9d banana.txt !!]"},
    LookupCase{"qps_number_argument", nullptr, nullptr, "qps", "qps", "files-item-count", count(1), "[1 \u00EDt\u00E9m !!]"},
    LookupCase{"missing_variable_en", nullptr, nullptr, nullptr, "en-US", "files-item-count", none, "files-item-count"},
    LookupCase{"missing_variable_de", nullptr, nullptr, "de_DE.UTF-8", "de-DE", "files-archive-created", none, "files-archive-created"},
    LookupCase{"missing_variable_qps", nullptr, nullptr, "qps", "qps", "files-item-count", none,
               "[f\u00EDl\u00E9s-\u00EDt\u00E9m-\u00E7\u00F3\u00FA\u00F1t !!]"},
    LookupCase{"unknown_id", nullptr, nullptr, "de_DE.UTF-8", "de-DE", "files-no-such-message", none, "files-no-such-message"}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

TEST(i18nLocale, ParsesIdentifiers) {
    EXPECT_EQ(parse_locale_id("sr-latn-rs")->to_string(), "sr-Latn-RS");
    EXPECT_EQ(parse_locale_id("es-419")->region, "419");
    EXPECT_EQ(parse_locale_id("de-DE-1996")->variants, std::vector<std::string>{"1996"});
    for (auto bad : {"", "C", "d", "de-", "de_DE", "de-DE-x", "toolonglanguage", "d3"})
        EXPECT_FALSE(parse_locale_id(bad)) << bad;
}

TEST(i18nLocale, ProcessLocaleReachesEveryThread) {
    set_process_locale(*parse_locale_id("de-DE"));
    EXPECT_EQ(tr("files-app-title"), "Dateien");
    std::vector<std::string> seen(4);
    {
        std::vector<std::jthread> threads;
        for (std::size_t i = 0; i < seen.size(); ++i)
            threads.emplace_back([&seen, i] { seen[i] = tr_args("files-moved-to-trash", MessageArgs().set("count", 2)); });
    }
    for (const auto& s : seen) EXPECT_EQ(s, "2 Elemente in den Papierkorb verschoben");

    // A thread's bundles follow a later change of the process locale.
    set_process_locale(LocaleId{});
    EXPECT_EQ(tr("files-app-title"), "Files");
    EXPECT_EQ(current_locale().to_string(), "en-US");
}

TEST(i18nPseudoLocalisation, ProtectsEveryOccurrenceButNotInsideEarlierValues) {
    EXPECT_EQ(pseudo_localise("Open a and a", MessageArgs().set("x", "a")), "[\u00D3p\u00E9\u00F1 a a\u00F1d a !!]");
    // The second value's text also occurs inside the first; the first stays whole.
    EXPECT_EQ(pseudo_localise("note 1 of note.txt", MessageArgs().set("f", "note.txt").set("n", "note").set("c", 3)),
              "[note 1 \u00F3f note.txt !!]");
    EXPECT_EQ(pseudo_localise("no args"), "[\u00F1\u00F3 \u00E1rgs !!]");
}

}  // namespace
}  // namespace files::i18n

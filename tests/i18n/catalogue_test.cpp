// The two compiled-in resources against each other, against the id table and
// against the ids the application's code asks for.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "catalogue_ids.hpp"
#include "i18n/catalogue.hpp"
#include "i18n/fluent.hpp"

namespace files::i18n {
namespace {

using test_data::kCatalogueIds;

struct Parsed {
    fluent::ParseResult result;
    std::map<std::string, const fluent::Message*> by_id;
    std::vector<std::string> order;
};

Parsed parse_resource(std::string_view text) {
    Parsed p;
    p.result = fluent::parse(text);
    for (const auto& m : p.result.messages) {
        p.order.push_back(m.id);
        p.by_id.emplace(m.id, &m);
    }
    return p;
}

const Parsed& en() {
    static const Parsed p = parse_resource(catalogue::en_us);
    return p;
}
const Parsed& de() {
    static const Parsed p = parse_resource(catalogue::de_de);
    return p;
}

TEST(i18nCatalogue, BothResourcesParseWhole) {
    for (const Parsed* p : {&en(), &de()}) {
        EXPECT_EQ(p->result.errors, 0u);
        EXPECT_EQ(p->order.size(), kCatalogueIds.size());
        EXPECT_EQ(p->by_id.size(), p->order.size()) << "an id is defined twice";
        for (const auto& m : p->result.messages) EXPECT_TRUE(m.has_value) << m.id;
    }
}

TEST(i18nCatalogue, OrderFollowsTheTableWithUndoInGermanArchiveSection) {
    std::vector<std::string> expected_en(kCatalogueIds.begin(), kCatalogueIds.end());
    EXPECT_EQ(en().order, expected_en);

    const std::vector<std::string> undo = {"files-undo-move-trash", "files-undo-trash-restored",
                                           "files-undo-trash-unavailable", "files-undo-trash-failed"};
    std::vector<std::string> expected_de;
    for (const auto& id : expected_en) {
        if (std::find(undo.begin(), undo.end(), id) != undo.end()) continue;
        expected_de.push_back(id);
        if (id == "files-archive-extracted") expected_de.insert(expected_de.end(), undo.begin(), undo.end());
    }
    EXPECT_EQ(de().order, expected_de);
}

TEST(i18nCatalogue, GermanMatchesEnglishStructurally) {
    std::set<std::string> all_variables;
    std::size_t en_selectors = 0, de_selectors = 0;
    for (const auto& [id, m] : en().by_id) {
        auto it = de().by_id.find(id);
        ASSERT_NE(it, de().by_id.end()) << id << " is missing in de-DE";
        fluent::Shape e = fluent::shape_of(m->value);
        fluent::Shape d = fluent::shape_of(it->second->value);
        EXPECT_EQ(e.variables, d.variables) << id;
        // A selector may move within the German sentence; its keys stay the same.
        std::sort(e.selector_keys.begin(), e.selector_keys.end());
        std::sort(d.selector_keys.begin(), d.selector_keys.end());
        EXPECT_EQ(e.selector_keys, d.selector_keys) << id;
        for (const auto& keys : e.selector_keys)
            EXPECT_EQ(keys, (std::vector<std::string>{"*other", "one"})) << id;
        en_selectors += e.selector_keys.size();
        de_selectors += d.selector_keys.size();
        all_variables.insert(e.variables.begin(), e.variables.end());
    }
    EXPECT_EQ(de().by_id.size(), en().by_id.size());
    EXPECT_EQ(en_selectors, 28u);
    EXPECT_EQ(de_selectors, 28u);
    EXPECT_EQ(all_variables.size(), 48u);
}

TEST(i18nCatalogue, IdsFollowTheNamingRule) {
    const std::regex rule("files-[a-z][a-z0-9]*(-[a-z][a-z0-9]*)*");
    for (const auto& id : en().order) EXPECT_TRUE(std::regex_match(id, rule)) << id;
    for (auto id : kCatalogueIds) EXPECT_TRUE(std::regex_match(std::string(id), rule)) << id;
}

TEST(i18nCatalogue, DefinesEveryIdTheCodeAsksFor) {
    // Literals of that shape that name something other than a message.
    const std::set<std::string> not_messages = {"files-retry-folder"};
    const std::regex literal("\"(files-[a-z0-9]+(?:-[a-z0-9]+)*)\"");
    std::set<std::string> asked;
    for (const auto& f : std::filesystem::recursive_directory_iterator(FILES_APP_SOURCE_DIR)) {
        auto ext = f.path().extension();
        if (!f.is_regular_file() || (ext != ".cpp" && ext != ".hpp")) continue;
        std::ifstream in(f.path());
        std::stringstream ss;
        ss << in.rdbuf();
        std::string text = ss.str();
        for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it)
            if (!not_messages.contains((*it)[1].str())) asked.insert((*it)[1].str());
    }
    ASSERT_GE(asked.size(), 10u) << "the scan found too few ids; is the source path right?";
    for (const auto& id : asked) {
        EXPECT_TRUE(en().by_id.contains(id)) << id << " is missing in en-US";
        EXPECT_TRUE(de().by_id.contains(id)) << id << " is missing in de-DE";
    }
}

}  // namespace
}  // namespace files::i18n

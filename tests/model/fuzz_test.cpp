// Random, truncated and mutated bytes through every reader: each must answer "absent" or a
// valid value and never crash. Under FILES_SANITIZE=ON this also checks memory safety.
#include "model/attributes.hpp"

#include "attr_dir.hpp"
#include "documents_fixtures.hpp"

#include <gtest/gtest.h>

#include <random>

namespace files::model {
namespace {

using namespace files::testing::docs;

std::vector<std::string> corpus() {
    auto uuid = *Uuid::parse("c0ffee00-0000-4000-8000-000000000001");
    std::string preflight = R"({"schema_version":1,"conflict_id":")" + uuid.to_string() +
                            R"(","safe":true,"explanation":"e","diff_summary":""})";
    auto h = history();
    h["conflicts"][0]["status"] = "Resolved";
    h["conflicts"][0]["resolution"] = resolution();
    return {availability().dump(), history().dump(), h.dump(), share().dump(), metadata().dump(), preflight};
}

// Truncations at every length, single-byte mutations, and random bytes.
std::vector<std::string> inputs(std::mt19937& rng) {
    std::vector<std::string> out;
    const char* tokens[] = {"{", "}", "[", "]", "\"", ":", ",", "-1", "1e400", "null", "\\u0000", "\xff", "0.5",
                            "18446744073709551616", "\"schema_version\":1"};
    for (const auto& doc : corpus()) {
        for (size_t n = 0; n <= doc.size(); ++n) out.push_back(doc.substr(0, n));
        for (int i = 0; i < 400; ++i) {
            std::string m = doc;
            size_t at = rng() % m.size();
            switch (rng() % 3) {
                case 0: m[at] = char(rng()); break;
                case 1: m.insert(at, tokens[rng() % std::size(tokens)]); break;
                default: m.erase(at, 1 + rng() % 8); break;
            }
            out.push_back(std::move(m));
        }
    }
    for (int i = 0; i < 500; ++i) {
        std::string r(rng() % 300, '\0');
        for (auto& c : r) c = char(rng());
        out.push_back(std::move(r));
    }
    return out;
}

TEST(model_fuzz, DecodersAndRawParsersNeverCrash) {
    std::mt19937 rng(20240611);
    auto conflict = *Uuid::parse("c0ffee00-0000-4000-8000-000000000001");
    size_t accepted = 0;
    for (const auto& in : inputs(rng)) {
        accepted += decode_availability(in).has_value();
        accepted += decode_history(in).has_value();
        accepted += decode_share(in).has_value();
        accepted += decode_metadata(in).has_value();
        accepted += decode_merge_preflight(in, conflict).has_value();
        accepted += parse_record_id(in).has_value() + parse_content_hash(in).has_value();
        (void)parse_sync_state(in);
        (void)Uuid::parse(in);
    }
    EXPECT_GT(accepted, 6u) << "the untruncated corpus itself decodes";
}

TEST(model_fuzz, AttributeReadersNeverCrash) {
    REQUIRE_ATTR_DIR(d);
    d->create_files({"ws/f", "ws/dir/"});
    std::vector<path> roots = {*d / "ws"};
    std::mt19937 rng(7);
    auto all = inputs(rng);
    auto conflict = *Uuid::parse("c0ffee00-0000-4000-8000-000000000001");
    std::string preflight = std::string(kAttrMergePreflightPrefix) + conflict.to_string();
    const char* names[] = {kAttrRecordId, kAttrSync, kAttrContentHash, kAttrThumb, kAttrMetadata,
                           kAttrAvailability, kAttrShare, kAttrHistory, kAttrShareControl};
    DocumentCache cache;
    for (size_t i = 0; i < all.size(); i += 7) {
        for (auto target : {*d / "ws/f", *d / "ws/dir"}) {
            for (const char* n : names) files::testing::set_attr(target, n, all[(i + std::strlen(n)) % all.size()]);
            files::testing::set_attr(target, preflight, all[i]);
            cache.begin_pass();
            (void)read_collab_attributes(target, target.filename() == "dir", &cache);
            (void)read_thumbnail(target);
            (void)read_merge_preflight(target, conflict);
            (void)share_control_path(target, roots);
        }
    }
}

}  // namespace
}  // namespace files::model

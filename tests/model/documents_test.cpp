#include "model/documents.hpp"

#include "documents_fixtures.hpp"

#include <gtest/gtest.h>

#include <functional>

namespace files::model {
namespace {

using nlohmann::json;
using namespace files::testing::docs;

struct Mutation {
    const char* what;
    std::function<void(json&)> change;
    bool accepted;
};

template <typename Decode>
void check_mutations(const json& base, Decode decode, std::initializer_list<Mutation> cases) {
    ASSERT_TRUE(decode(base.dump())) << "the base document is valid";
    for (const auto& c : cases) {
        json doc = base;
        c.change(doc);
        EXPECT_EQ(decode(doc.dump()).has_value(), c.accepted) << c.what << ": " << doc.dump();
    }
}

TEST(model_documents, StrictDecodingSharedByAll) {
    // The same type rules hold for every document; availability stands for them.
    check_mutations(availability(), decode_availability,
                    {
                        {"schema 2", [](json& j) { j["schema_version"] = 2; }, false},
                        {"schema 1.0", [](json& j) { j["schema_version"] = 1.0; }, false},
                        {"schema as text", [](json& j) { j["schema_version"] = "1"; }, false},
                        {"schema 65537", [](json& j) { j["schema_version"] = 65537; }, false},
                        {"schema missing", [](json& j) { j.erase("schema_version"); }, false},
                        {"negative u64", [](json& j) { j["freshness"]["local_verified_at_ms"] = -1; }, false},
                        {"u64 max", [](json& j) { j["freshness"]["local_verified_at_ms"] = UINT64_MAX; }, true},
                        {"u32 overflow", [](json& j) { j["replicas"] = {{"state", "known"}, {"reachable", 4294967296}, {"durable", 0}}; }, false},
                        {"u32 max", [](json& j) { j["replicas"] = {{"state", "known"}, {"reachable", 4294967295u}, {"durable", 0}}; }, true},
                        {"known without counts", [](json& j) { j["replicas"] = {{"state", "known"}}; }, false},
                        {"string as number", [](json& j) { j["record_id"] = 5; }, false},
                        {"bool as number", [](json& j) { j["policy_inherited"] = 0; }, false},
                        {"optional null", [](json& j) { j["current_version"] = nullptr; }, true},
                        {"required null", [](json& j) { j["record_id"] = nullptr; }, false},
                        {"unknown fields ignored", [](json& j) { j["extra"] = {1, 2}; }, true},
                        {"unknown enum", [](json& j) { j["policy"] = "Pinned"; }, false},
                        {"unknown residency", [](json& j) { j["residency"] = {{"state", "gone"}}; }, false},
                        {"partial needs bytes", [](json& j) { j["residency"] = {{"state", "partial"}}; }, false},
                        {"not an object", [](json& j) { j = json::array({1}); }, false},
                    });
    EXPECT_FALSE(decode_availability(""));
    EXPECT_FALSE(decode_availability(std::string(100, '[') + std::string(100, ']')));
    EXPECT_FALSE(decode_availability(availability().dump() + "x")) << "trailing bytes";
}

TEST(model_documents, AvailabilityRules) {
    check_mutations(availability(), decode_availability,
                    {
                        {"error without time", [](json& j) { j["transfer"]["last_error"] = "disk"; }, false},
                        {"time without error", [](json& j) { j["transfer"]["last_error_at_ms"] = 5; }, false},
                        {"error with time", [](json& j) { j["transfer"]["last_error"] = "disk"; j["transfer"]["last_error_at_ms"] = 5; }, true},
                        {"completed over total", [](json& j) { j["transfer"]["progress"] = {{"completed_bytes", 11}, {"total_bytes", 10}}; }, false},
                        {"completed equals total", [](json& j) { j["transfer"]["progress"] = {{"completed_bytes", 10}, {"total_bytes", 10}}; }, true},
                        {"no total", [](json& j) { j["transfer"]["progress"] = {{"completed_bytes", 11}}; }, true},
                    });
    auto a = decode_availability(availability().dump());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->residency.state, ResidencyState::Partial);
    EXPECT_EQ(a->residency.resident_bytes, 10u);
    EXPECT_EQ(a->transfer.phase, TransferPhase::Downloading);
    EXPECT_EQ(a->policy, StoragePolicy::Pinned);
    EXPECT_TRUE(a->policy_inherited);
}

TEST(model_documents, HistoryRules) {
    auto too_many = [](const char* key, size_t n, json item) {
        return [=](json& j) { j[key] = json::array(); for (size_t i = 0; i < n; ++i) j[key].push_back(item); };
    };
    check_mutations(history(), decode_history,
                    {
                        {"record id not a uuid", [](json& j) { j["record_id"] = "r1"; for (auto& v : j["versions"]) v["record_id"] = "r1"; }, false},
                        {"record id in plain form", [](json& j) { j["record_id"] = kRecordPlain; j["versions"][0]["record_id"] = kRecordPlain; j["versions"][1]["record_id"] = kRecordPlain; }, true},
                        {"total below versions", [](json& j) { j["total_versions"] = 1; }, false},
                        {"total equals versions", [](json& j) { j["total_versions"] = 2; }, true},
                        {"9 heads", too_many("heads", 9, "v"), false},
                        {"8 heads", too_many("heads", 8, "v"), true},
                        {"13 versions", [](json& j) { j["total_versions"] = 20; auto v = j["versions"][0]; j["versions"] = json::array(); for (int i = 0; i < 13; ++i) j["versions"].push_back(v); }, false},
                        {"12 versions", [](json& j) { j["total_versions"] = 20; auto v = j["versions"][0]; j["versions"] = json::array(); for (int i = 0; i < 12; ++i) j["versions"].push_back(v); }, true},
                        {"version of another record", [](json& j) { j["versions"][1]["record_id"] = kOtherUuid; }, false},
                        {"version record id in another form", [](json& j) { j["versions"][1]["record_id"] = kRecordPlain; }, false},
                        {"own id as parent", [](json& j) { j["versions"][1]["parents"].push_back("v2"); }, false},
                        {"9 parents", [](json& j) { j["versions"][1]["parents"] = json::array({"a", "b", "c", "d", "e", "f", "g", "h", "i"}); }, false},
                        {"31-byte key", [](json& j) { j["versions"][0]["actor"]["person"].erase(0); }, false},
                        {"byte 256", [](json& j) { j["versions"][0]["metadata_hash"][0] = 256; }, false},
                        {"no content hash", [](json& j) { j["versions"][0].erase("content_hash"); }, true},
                        {"any provenance", [](json& j) { j["versions"][0]["provenance"] = {{"Restore", {{"from", "v0"}}}}; }, true},
                        {"9 conflicts", too_many("conflicts", 9, conflict()), false},
                        {"conflict of another record", [](json& j) { j["conflicts"][0]["record_id"] = kOtherUuid; }, false},
                        {"conflict record in braced form", [](json& j) { j["conflicts"][0]["record_id"] = std::string("{") + kRecordUuid + "}"; }, true},
                        {"conflict failing the platform check", [](json& j) { j["conflicts"][0]["versions"] = json::array({kOtherUuid}); }, false},
                        {"resolved without resolution", [](json& j) { j["conflicts"][0]["status"] = "Resolved"; }, false},
                        {"resolved with resolution", [](json& j) { j["conflicts"][0]["status"] = "Resolved"; j["conflicts"][0]["resolution"] = resolution(); }, true},
                        {"unknown strategy", [](json& j) { j["conflicts"][0]["status"] = "Resolved"; auto r = resolution(); r["strategy"] = "Whatever"; j["conflicts"][0]["resolution"] = r; }, false},
                        {"bad status", [](json& j) { j["conflicts"][0]["status"] = "open"; }, false},
                    });
    auto h = decode_history(history().dump());
    ASSERT_TRUE(h);
    EXPECT_EQ(h->versions[0].provenance, "\"Create\"");
    EXPECT_EQ(h->conflicts[0].versions.size(), 2u);
    EXPECT_FALSE(h->versions[1].content_hash);
}

TEST(model_documents, ShareBoundAndGrantCount) {
    check_mutations(share(), decode_share,
                    {
                        {"32 grants", [](json& j) { auto g = j["grants"][0]; j["grants"] = json::array(); for (int i = 0; i < 32; ++i) j["grants"].push_back(g); }, true},
                        {"33 grants", [](json& j) { auto g = j["grants"][0]; j["grants"] = json::array(); for (int i = 0; i < 33; ++i) j["grants"].push_back(g); }, false},
                        {"bad permission", [](json& j) { j["grants"][0]["permission"] = "Own"; }, false},
                        {"person without key", [](json& j) { j["grants"][0]["subject"] = {{"kind", "person"}}; }, false},
                        {"status not checked against flags", [](json& j) { j["grants"][0]["revoked"] = true; }, true},
                    });
    auto s = decode_share(share().dump());
    ASSERT_TRUE(s);
    EXPECT_EQ(active_grant_count(*s), 1u);
    EXPECT_TRUE(s->grants[1].subject.bearer_link);
    EXPECT_EQ(s->grants[1].status, GrantStatus::Revoked);
}

TEST(model_documents, MetadataRules) {
    check_mutations(metadata(), decode_metadata,
                    {
                        {"schema 2", [](json& j) { j["schema_version"] = 2; }, false},
                        {"nil record", [](json& j) { j["record_id"] = "00000000-0000-0000-0000-000000000000"; }, false},
                        {"record not a uuid", [](json& j) { j["record_id"] = "abc"; }, false},
                        {"width without height", [](json& j) { j["properties"].erase("image_height"); }, false},
                        {"properties schema 2", [](json& j) { j["properties"]["schema_version"] = 2; }, false},
                        {"empty codec", [](json& j) { j["properties"]["codec"] = ""; }, false},
                        {"control in container", [](json& j) { j["properties"]["container"] = "a\nb"; }, false},
                        {"only the schema", [](json& j) { j["properties"] = {{"schema_version", 1}}; }, true},
                    });
}

}  // namespace
}  // namespace files::model

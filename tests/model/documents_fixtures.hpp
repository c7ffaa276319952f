#pragma once
// Valid documents for the decoder tests and the fuzz corpus.
#include <nlohmann/json.hpp>

namespace files::testing::docs {

using nlohmann::json;

inline constexpr const char* kRecordUuid = "3b241101-e2bb-4255-8caf-4136c566a962";
inline constexpr const char* kRecordPlain = "3b241101e2bb42558caf4136c566a962";
inline constexpr const char* kOtherUuid = "9a2f1e3c-1111-4222-8333-944455556666";

inline json key(int seed) {
    json a = json::array();
    for (int i = 0; i < 32; ++i) a.push_back((seed * 31 + i) & 0xff);
    return a;
}

inline json availability() {
    return {{"schema_version", 1},
            {"record_id", "rec-1"},
            {"current_version", "v7"},
            {"residency", {{"state", "partial"}, {"resident_bytes", 10}}},
            {"transfer",
             {{"phase", "downloading"},
              {"progress", {{"completed_bytes", 5}, {"total_bytes", 20}}},
              {"error_truncated", false}}},
            {"policy", "pinned"},
            {"policy_inherited", true},
            {"replicas", {{"state", "known"}, {"reachable", 2}, {"durable", 1}}},
            {"freshness", {{"metadata_observed_at_ms", 1700000000000ull}}}};
}

inline json resolution() {
    return {{"strategy", "KeepBoth"},
            {"result", "7d444840-9dc0-11d1-b245-5ffdce74fad2"},
            {"actor", {{"person", key(1)}, {"device", key(2)}}},
            {"timestamp_ms", 1700000000001ull}};
}

inline json conflict() {
    return {{"id", "c0ffee00-0000-4000-8000-000000000001"},
            {"record_id", kRecordUuid},
            {"versions", {"c0ffee00-0000-4000-8000-0000000000a1", "c0ffee00-0000-4000-8000-0000000000a2"}},
            {"status", "Open"}};
}

inline json history() {
    json v1 = {{"id", "v1"},
               {"record_id", kRecordUuid},
               {"parents", json::array()},
               {"actor", {{"person", key(3)}, {"device", key(4)}}},
               {"timestamp_ms", 1},
               {"content_hash", key(5)},
               {"metadata_hash", key(6)},
               {"provenance", "Create"}};
    json v2 = v1;
    v2["id"] = "v2";
    v2["parents"] = {"v1"};
    v2.erase("content_hash");
    v2["provenance"] = "Edit";
    return {{"schema_version", 1},
            {"record_id", kRecordUuid},
            {"total_versions", 5},
            {"versions_truncated", true},
            {"heads", {"v2"}},
            {"versions", {v1, v2}},
            {"conflicts_truncated", false},
            {"conflicts", {conflict()}}};
}

inline json share() {
    json person = {{"grant_id", "0f0e0d0c-0b0a-4908-8706-050403020100"},
                   {"subject", {{"kind", "person"}, {"person", key(7)}}},
                   {"permission", "Edit"},
                   {"revoked", false},
                   {"expired", false},
                   {"used", false},
                   {"exhausted", false},
                   {"status", "active"},
                   {"redemptions", 0}};
    json link = {{"grant_id", "link-1"},
                 {"subject", {{"kind", "bearer_link"}}},
                 {"permission", "View"},
                 {"expires_at_ms", 1800000000000ull},
                 {"revoked", true},
                 {"expired", false},
                 {"used", true},
                 {"exhausted", false},
                 {"status", "revoked"},
                 {"redemptions", 3},
                 {"max_redemptions", 10}};
    return {{"schema_version", 1}, {"record_id", "rec-1"}, {"observed_at_ms", 5}, {"grants", {person, link}}};
}

inline json metadata() {
    return {{"schema_version", 1},
            {"record_id", kRecordUuid},
            {"properties",
             {{"schema_version", 1},
              {"image_width", 640},
              {"image_height", 480},
              {"duration_ms", 1000},
              {"codec", "h264"},
              {"container", "mp4"}}}};
}

}  // namespace files::testing::docs

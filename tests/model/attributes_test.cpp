#include "model/attributes.hpp"

#include "attr_dir.hpp"
#include "model/sys.hpp"

#include <fcntl.h>

#include <gtest/gtest.h>

namespace files::model {
namespace {

using files::testing::set_attr;

const char* kAvailability = R"({"schema_version":1,"record_id":"r","residency":{"state":"not_resident"},)"
                            R"("transfer":{"phase":"idle","error_truncated":false},"policy":"automatic",)"
                            R"("policy_inherited":false,"replicas":{"state":"unknown"},"freshness":{}})";

// The document padded with spaces (still valid JSON) to exactly n bytes.
std::string padded(std::string doc, size_t n) {
    doc.insert(doc.size() - 1, n - doc.size(), ' ');
    return doc;
}

TEST(model_attributes, PipelineBoundsAreInclusive) {
    REQUIRE_ATTR_DIR(d);
    d->create_files({"f"});
    auto f = *d / "f";
    set_attr(f, kAttrAvailability, padded(kAvailability, 2048));
    EXPECT_TRUE(read_availability(f));
    set_attr(f, kAttrAvailability, padded(kAvailability, 2049));
    EXPECT_FALSE(read_availability(f));
    // A value far past the bound is refused without being parsed.
    set_attr(f, kAttrAvailability, padded(kAvailability, 60000));
    EXPECT_FALSE(read_availability(f));
    EXPECT_FALSE(read_availability(*d / "missing"));
}

TEST(model_attributes, ByDescriptorAndLinksNotFollowed) {
    REQUIRE_ATTR_DIR(d);
    d->create_files({"f"});
    set_attr(*d / "f", kAttrAvailability, kAvailability);
    std::filesystem::create_symlink(*d / "f", *d / "link");
    EXPECT_FALSE(read_availability(*d / "link")) << "a link's own attributes only";
    files::model::sys::UniqueFd fd(::open((*d / "f").c_str(), O_RDONLY | O_CLOEXEC));
    EXPECT_TRUE(read_json_attribute(fd.get(), kAttrAvailability, kAvailabilityBound, &decode_availability));
    EXPECT_FALSE(read_json_attribute(fd.get(), kAttrAvailability, 100, &decode_availability));
}

TEST(model_attributes, RawReaders) {
    REQUIRE_ATTR_DIR(d);
    d->create_files({"f"});
    auto f = *d / "f";
    for (size_t n : {15, 16, 17}) {
        set_attr(f, kAttrRecordId, std::string(n, '\x07'));
        EXPECT_EQ(read_record_id(f).has_value(), n == 16) << n;
    }
    for (size_t n : {31, 32, 33}) {
        set_attr(f, kAttrContentHash, std::string(n, '\x09'));
        EXPECT_EQ(read_content_hash(f).has_value(), n == 32) << n;
    }
    std::pair<std::string, SyncState> sync[] = {
        {" projected\n", SyncState::Projected}, {"Projected", SyncState::Unrecognised},
        {"local", SyncState::Local},             {"\t downloading \r\n", SyncState::Downloading},
        {"\xC2\xA0local\xE3\x80\x80", SyncState::Local}, {"lo cal", SyncState::Unrecognised},
        {"local\xff", SyncState::Unrecognised},  {"", SyncState::Unrecognised},
    };
    for (const auto& [v, want] : sync) {
        set_attr(f, kAttrSync, v);
        EXPECT_EQ(read_sync_state(f), want) << v;
    }
    EXPECT_EQ(read_sync_state(*d / "missing"), SyncState::Unrecognised);

    EXPECT_FALSE(read_thumbnail(f));
    set_attr(f, kAttrThumb, "");
    EXPECT_FALSE(read_thumbnail(f));
    set_attr(f, kAttrThumb, "\x89PNG");
    EXPECT_EQ(read_thumbnail(f).value_or(""), "\x89PNG");
}

TEST(model_attributes, ShareControlPath) {
    REQUIRE_ATTR_DIR(d);
    d->create_files({"ws/sub/f", "other/"});
    std::vector<path> roots = {*d / "ws"};
    struct Case {
        std::string value;
        std::optional<path> expected;
    } cases[] = {
        {"/run/share.sock", path("/run/share.sock")},
        {"relative/share.sock", std::nullopt},
        {"/run/bad\xff", std::nullopt},
        {"", std::nullopt},
        {"/" + std::string(4095, 'x'), path("/" + std::string(4095, 'x'))},
        {"/" + std::string(4096, 'x'), std::nullopt},
    };
    for (const auto& c : cases) {
        set_attr(*d / "ws", kAttrShareControl, c.value);
        EXPECT_EQ(share_control_path(*d / "ws/sub/f", roots), c.expected) << c.value.size();
    }
    EXPECT_FALSE(share_control_path(*d / "other", roots)) << "outside every workspace";
}

TEST(model_attributes, CollabFieldsOfFilesAndFolders) {
    REQUIRE_ATTR_DIR(d);
    d->create_files({"f", "dir/"});
    for (auto p : {*d / "f", *d / "dir"}) {
        set_attr(p, kAttrRecordId, std::string(16, '\x01'));
        set_attr(p, kAttrSync, "local");
        set_attr(p, kAttrContentHash, std::string(32, '\x02'));
        set_attr(p, kAttrAvailability, kAvailability);
        set_attr(p, kAttrShare, R"({"schema_version":1,"record_id":"r","observed_at_ms":1,"grants":[]})");
        set_attr(p, kAttrMetadata,
                 R"({"schema_version":1,"record_id":"3b241101-e2bb-4255-8caf-4136c566a962","properties":{"schema_version":1}})");
    }
    set_attr(*d / "f", kAttrHistory, "not json");  // one bad document leaves the others intact
    DocumentCache cache;
    auto file = read_collab_attributes(*d / "f", false, &cache);
    EXPECT_TRUE(file.record_id);
    EXPECT_EQ(file.sync, SyncState::Local);
    EXPECT_TRUE(file.content_hash);
    EXPECT_TRUE(file.availability);
    EXPECT_TRUE(file.share);
    EXPECT_FALSE(file.history);
    EXPECT_TRUE(file.metadata);
    auto dir = read_collab_attributes(*d / "dir", true, &cache);
    EXPECT_TRUE(dir.record_id);
    EXPECT_EQ(dir.sync, SyncState::Unrecognised) << "folders have no sync state";
    EXPECT_FALSE(dir.content_hash);
    EXPECT_FALSE(dir.metadata);
    EXPECT_EQ(*dir.availability, *file.availability);
    EXPECT_EQ(read_collab_attributes(*d / "f", false, &cache).availability, file.availability)
        << "unchanged bytes reuse the decoded document";
    auto uncached = read_collab_attributes(*d / "f", false);
    ASSERT_TRUE(uncached.availability);
    EXPECT_EQ(*uncached.availability, *file.availability);
}

TEST(model_attributes, MergePreflight) {
    REQUIRE_ATTR_DIR(d);
    d->create_files({"f"});
    auto id = *Uuid::parse("6f1c2b9a-0000-4000-8000-00000000abcd");
    auto other = *Uuid::parse("6f1c2b9a-0000-4000-8000-00000000ffff");
    std::string name = std::string(kAttrMergePreflightPrefix) + id.to_string();
    ASSERT_EQ(name.size(), 62u);
    auto doc = [](std::string conflict, std::string explanation, std::string diff, std::string safe = "true") {
        return R"({"schema_version":1,"conflict_id":")" + conflict + R"(","safe":)" + safe + R"(,"explanation":")" +
               explanation + R"(","diff_summary":")" + diff + R"("})";
    };
    struct Case {
        const char* what;
        std::string value;
        bool ok;
    } cases[] = {
        {"valid", doc(id.to_string(), "ok", ""), true},
        {"braced id", doc("{" + id.to_string() + "}", "ok", "d"), true},
        {"other id", doc(other.to_string(), "ok", ""), false},
        {"nil id", doc("00000000-0000-0000-0000-000000000000", "ok", ""), false},
        {"empty explanation", doc(id.to_string(), "", ""), false},
        {"512 explanation", doc(id.to_string(), std::string(512, 'e'), std::string(1024, 'd')), true},
        {"513 explanation", doc(id.to_string(), std::string(513, 'e'), ""), false},
        {"1025 diff", doc(id.to_string(), "ok", std::string(1025, 'd')), false},
        {"safe not bool", doc(id.to_string(), "ok", "", "1"), false},
        {"over 4096", padded(doc(id.to_string(), "ok", ""), 4097), false},
    };
    for (const auto& c : cases) {
        set_attr(*d / "f", name, c.value);
        EXPECT_EQ(read_merge_preflight(*d / "f", id).has_value(), c.ok) << c.what;
    }
    set_attr(*d / "f", name, doc(id.to_string(), "fine", "", "false"));
    auto p = read_merge_preflight(*d / "f", id);
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->safe);
    EXPECT_EQ(p->explanation, "fine");
}

TEST(model_attributes, HistoryControlDocument) {
    auto c = *Uuid::parse("A1B2C3D4E5F60718293A4B5C6D7E8F90");
    auto v = *Uuid::parse("urn:uuid:00112233-4455-6677-8899-aabbccddeeff");
    EXPECT_EQ(encode_history_control(c, collab_types::ConflictStrategy::KeepBoth, v),
              R"({"schema_version":1,"operation":{"operation":"resolve_conflict",)"
              R"("conflict_id":"a1b2c3d4-e5f6-0718-293a-4b5c6d7e8f90","strategy":"KeepBoth",)"
              R"("version_id":"00112233-4455-6677-8899-aabbccddeeff"}})");

    REQUIRE_ATTR_DIR(d);
    d->create_files({"f"});
    ASSERT_TRUE(write_history_control(*d / "f", c, collab_types::ConflictStrategy::Merge, v));
    auto written = sys::get_attribute(*d / "f", kAttrHistoryControl, 1024);
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, encode_history_control(c, collab_types::ConflictStrategy::Merge, v));
    auto failed = write_history_control(*d / "missing", c, collab_types::ConflictStrategy::Merge, v);
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error(), "Could not resolve that conflict: No such file or directory");
}

TEST(model_attributes, LocalResourceId) {
    // Reference values: SHA-256 over the 30-character domain text, the big-endian length, the bytes.
    EXPECT_EQ(local_resource_id("/"), "38d955c8c7980116355165351b89b067");
    EXPECT_EQ(local_resource_id("/home/u/Docs"), "439c20538189c467b64bc440f05e2c1d");
    EXPECT_EQ(local_resource_id("/home/u/Docs/"), "1776f1dd82658cd619767a166e709192");
}

}  // namespace
}  // namespace files::model

#include "model/documents.hpp"

#include "model/json_decode.hpp"

#include <algorithm>

namespace files::model {

using json_decode::Decoder;
using json_decode::json;

namespace {

// One of the names, by position; fails on any other text.
template <typename E, size_t N>
E enum_of(Decoder& d, const json& v, const std::array<std::string_view, N>& names) {
    std::string s = d.string(v);
    for (size_t i = 0; i < N; ++i)
        if (names[i] == s) return E(i);
    d.fail();
    return E(0);
}

template <typename T>
std::optional<T> finish(Decoder& d, T&& value) {
    if (!d.ok()) return std::nullopt;
    return std::move(value);
}

// The schema version comes first so a document of another version is refused before the rest
// is looked at.
bool schema_is(Decoder& d, const json& doc, std::uint16_t& out, std::uint16_t expected) {
    out = d.uint<std::uint16_t>(doc, "schema_version");
    return d.require(d.ok() && out == expected);
}

}  // namespace

std::size_t active_grant_count(const ShareProjection& p) {
    return size_t(std::count_if(p.grants.begin(), p.grants.end(),
                                [](const ShareGrantProjection& g) { return g.status == GrantStatus::Active; }));
}

std::optional<AvailabilityProjection> decode_availability(std::string_view text) {
    auto doc = json_decode::parse(text);
    if (!doc) return std::nullopt;
    Decoder d;
    AvailabilityProjection a;
    if (!schema_is(d, *doc, a.schema_version, 1)) return std::nullopt;
    a.record_id = d.string(*doc, "record_id");
    a.current_version = d.optional_string(*doc, "current_version");

    const json& res = d.member(*doc, "residency");
    a.residency.state = enum_of<ResidencyState>(d, d.member(res, "state"),
                                                std::array<std::string_view, 3>{"not_resident", "partial", "resident"});
    if (a.residency.state != ResidencyState::NotResident)
        a.residency.resident_bytes = d.uint<std::uint64_t>(res, "resident_bytes");

    const json& tr = d.member(*doc, "transfer");
    a.transfer.phase = enum_of<TransferPhase>(
        d, d.member(tr, "phase"),
        std::array<std::string_view, 5>{"idle", "queued", "downloading", "uploading", "verifying"});
    if (const json* pr = d.optional_member(tr, "progress")) {
        TransferProgress p;
        p.completed_bytes = d.uint<std::uint64_t>(*pr, "completed_bytes");
        p.total_bytes = d.optional_uint<std::uint64_t>(*pr, "total_bytes");
        d.require(!p.total_bytes || p.completed_bytes <= *p.total_bytes);
        a.transfer.progress = p;
    }
    a.transfer.last_error = d.optional_string(tr, "last_error");
    a.transfer.last_error_at_ms = d.optional_uint<std::uint64_t>(tr, "last_error_at_ms");
    d.require(a.transfer.last_error.has_value() == a.transfer.last_error_at_ms.has_value());
    a.transfer.error_truncated = d.boolean(tr, "error_truncated");

    a.policy = enum_of<StoragePolicy>(d, d.member(*doc, "policy"), std::array<std::string_view, 2>{"automatic", "pinned"});
    a.policy_inherited = d.boolean(*doc, "policy_inherited");

    const json& rep = d.member(*doc, "replicas");
    a.replicas.known = enum_of<int>(d, d.member(rep, "state"), std::array<std::string_view, 2>{"unknown", "known"}) == 1;
    if (a.replicas.known) {
        a.replicas.reachable = d.uint<std::uint32_t>(rep, "reachable");
        a.replicas.durable = d.uint<std::uint32_t>(rep, "durable");
    }

    const json& fr = d.member(*doc, "freshness");
    a.freshness.metadata_observed_at_ms = d.optional_uint<std::uint64_t>(fr, "metadata_observed_at_ms");
    a.freshness.local_verified_at_ms = d.optional_uint<std::uint64_t>(fr, "local_verified_at_ms");
    a.freshness.replicas_observed_at_ms = d.optional_uint<std::uint64_t>(fr, "replicas_observed_at_ms");
    return finish(d, std::move(a));
}

namespace {

HistoryVersion decode_version(Decoder& d, const json& v) {
    HistoryVersion h;
    h.id = d.string(v, "id");
    h.record_id = d.string(v, "record_id");
    h.parents = d.strings(v, "parents", 8);
    d.require(std::find(h.parents.begin(), h.parents.end(), h.id) == h.parents.end());
    const json& actor = d.member(v, "actor");
    h.actor.person = d.bytes32(actor, "person");
    h.actor.device = d.bytes32(actor, "device");
    h.timestamp_ms = d.uint<std::uint64_t>(v, "timestamp_ms");
    h.content_hash = d.optional_bytes32(v, "content_hash");
    h.metadata_hash = d.bytes32(v, "metadata_hash");
    // Any JSON value, kept as text; a missing one reads as null.
    auto it = v.is_object() ? v.find("provenance") : v.end();
    h.provenance = it == v.end() ? "null" : it->dump();
    return h;
}

collab_types::FileConflictV1 decode_conflict(Decoder& d, const json& c) {
    using collab_types::ConflictStatus;
    collab_types::FileConflictV1 f;
    f.id = d.uuid(c, "id");
    f.record_id = d.uuid(c, "record_id");
    for (const auto& v : d.array(c, "versions")) f.versions.push_back(d.uuid(v));
    f.status = enum_of<ConflictStatus>(d, d.member(c, "status"), std::array<std::string_view, 2>{"Open", "Resolved"});
    if (const json* r = d.optional_member(c, "resolution")) {
        collab_types::ConflictResolution res;
        auto strategy = collab_types::parse_conflict_strategy(d.string(*r, "strategy"));
        d.require(strategy.has_value());
        res.strategy = strategy.value_or(collab_types::ConflictStrategy::KeepCurrent);
        res.result = d.uuid(*r, "result");
        const json& actor = d.member(*r, "actor");
        res.actor.person = d.bytes32(actor, "person");
        res.actor.device = d.bytes32(actor, "device");
        res.timestamp_ms = d.uint<std::uint64_t>(*r, "timestamp_ms");
        f.resolution = res;
    }
    return f;
}

}  // namespace

std::optional<HistoryProjection> decode_history(std::string_view text) {
    auto doc = json_decode::parse(text);
    if (!doc) return std::nullopt;
    Decoder d;
    HistoryProjection h;
    if (!schema_is(d, *doc, h.schema_version, 1)) return std::nullopt;
    h.record_id = d.string(*doc, "record_id");
    auto record = Uuid::parse(h.record_id);
    if (!d.require(d.ok() && record.has_value())) return std::nullopt;
    h.total_versions = d.uint<std::uint64_t>(*doc, "total_versions");
    h.versions_truncated = d.boolean(*doc, "versions_truncated");
    h.heads = d.strings(*doc, "heads", 8);
    for (const auto& v : d.array(*doc, "versions", 12)) {
        h.versions.push_back(decode_version(d, v));
        d.require(h.versions.back().record_id == h.record_id);
    }
    d.require(h.total_versions >= h.versions.size());
    h.conflicts_truncated = d.boolean(*doc, "conflicts_truncated");
    for (const auto& c : d.array(*doc, "conflicts", 8)) {
        h.conflicts.push_back(decode_conflict(d, c));
        if (!d.ok()) break;
        d.require(h.conflicts.back().record_id == *record && h.conflicts.back().validate().has_value());
    }
    return finish(d, std::move(h));
}

std::optional<ShareProjection> decode_share(std::string_view text) {
    auto doc = json_decode::parse(text);
    if (!doc) return std::nullopt;
    Decoder d;
    ShareProjection s;
    if (!schema_is(d, *doc, s.schema_version, 1)) return std::nullopt;
    s.record_id = d.string(*doc, "record_id");
    s.observed_at_ms = d.uint<std::uint64_t>(*doc, "observed_at_ms");
    for (const auto& g : d.array(*doc, "grants", 32)) {
        ShareGrantProjection p;
        p.grant_id = d.string(g, "grant_id");
        const json& subject = d.member(g, "subject");
        p.subject.bearer_link =
            enum_of<int>(d, d.member(subject, "kind"), std::array<std::string_view, 2>{"person", "bearer_link"}) == 1;
        if (!p.subject.bearer_link) p.subject.person = d.bytes32(subject, "person");
        p.permission = enum_of<SharePermission>(d, d.member(g, "permission"), std::array<std::string_view, 2>{"View", "Edit"});
        p.expires_at_ms = d.optional_uint<std::uint64_t>(g, "expires_at_ms");
        p.revoked = d.boolean(g, "revoked");
        p.expired = d.boolean(g, "expired");
        p.used = d.boolean(g, "used");
        p.exhausted = d.boolean(g, "exhausted");
        p.status = enum_of<GrantStatus>(d, d.member(g, "status"),
                                        std::array<std::string_view, 4>{"active", "expired", "revoked", "exhausted"});
        p.redemptions = d.uint<std::uint32_t>(g, "redemptions");
        p.max_redemptions = d.optional_uint<std::uint32_t>(g, "max_redemptions");
        s.grants.push_back(std::move(p));
        if (!d.ok()) break;
    }
    return finish(d, std::move(s));
}

std::optional<MetadataProjection> decode_metadata(std::string_view text) {
    auto doc = json_decode::parse(text);
    if (!doc) return std::nullopt;
    Decoder d;
    MetadataProjection m;
    if (!schema_is(d, *doc, m.schema_version, 1)) return std::nullopt;
    m.record_id = d.uuid(*doc, "record_id");
    d.require(!m.record_id.is_nil());
    const json& p = d.member(*doc, "properties");
    m.properties.schema_version = d.uint<std::uint16_t>(p, "schema_version");
    m.properties.image_width = d.optional_uint<std::uint32_t>(p, "image_width");
    m.properties.image_height = d.optional_uint<std::uint32_t>(p, "image_height");
    m.properties.duration_ms = d.optional_uint<std::uint64_t>(p, "duration_ms");
    m.properties.page_count = d.optional_uint<std::uint32_t>(p, "page_count");
    m.properties.codec = d.optional_string(p, "codec");
    m.properties.container = d.optional_string(p, "container");
    if (d.ok()) d.require(m.properties.validate().has_value());
    return finish(d, std::move(m));
}

std::optional<MergePreflightProjectionV1> decode_merge_preflight(std::string_view text, const Uuid& conflict_id) {
    auto doc = json_decode::parse(text);
    if (!doc) return std::nullopt;
    Decoder d;
    MergePreflightProjectionV1 m;
    if (!schema_is(d, *doc, m.schema_version, 1)) return std::nullopt;
    m.conflict_id = d.uuid(*doc, "conflict_id");
    d.require(!m.conflict_id.is_nil() && m.conflict_id == conflict_id);
    const json& safe = d.member(*doc, "safe");
    d.require(safe.is_boolean());
    m.safe = safe.is_boolean() && safe.get<bool>();
    m.explanation = d.string(*doc, "explanation");
    m.diff_summary = d.string(*doc, "diff_summary");
    d.require(!m.explanation.empty() && m.explanation.size() <= 512 && m.diff_summary.size() <= 1024);
    return finish(d, std::move(m));
}

}  // namespace files::model

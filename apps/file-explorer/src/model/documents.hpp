#pragma once
// The collaboration documents the synchronisation service publishes per file, as plain values.
// Decoding is strict: a document that breaks any rule is absent as a whole.
#include <collab_types/collab_types.hpp>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace files::model {

using collab_types::Key32;
using collab_types::Uuid;

// ---- availability (user.orvo.availability) ----------------------------------------------

enum class ResidencyState { NotResident, Partial, Resident };
struct Residency {
    ResidencyState state = ResidencyState::NotResident;
    std::uint64_t resident_bytes = 0;  // Partial and Resident only
    friend bool operator==(const Residency&, const Residency&) = default;
};

enum class TransferPhase { Idle, Queued, Downloading, Uploading, Verifying };
struct TransferProgress {
    std::uint64_t completed_bytes = 0;
    std::optional<std::uint64_t> total_bytes;
    friend bool operator==(const TransferProgress&, const TransferProgress&) = default;
};
struct ProjectedTransfer {
    TransferPhase phase = TransferPhase::Idle;
    std::optional<TransferProgress> progress;
    std::optional<std::string> last_error;
    std::optional<std::uint64_t> last_error_at_ms;
    bool error_truncated = false;
    friend bool operator==(const ProjectedTransfer&, const ProjectedTransfer&) = default;
};

enum class StoragePolicy { Automatic, Pinned };

struct ReplicaEvidence {
    bool known = false;
    std::uint32_t reachable = 0;  // known only
    std::uint32_t durable = 0;
    friend bool operator==(const ReplicaEvidence&, const ReplicaEvidence&) = default;
};

struct AvailabilityFreshness {
    std::optional<std::uint64_t> metadata_observed_at_ms;
    std::optional<std::uint64_t> local_verified_at_ms;
    std::optional<std::uint64_t> replicas_observed_at_ms;
    friend bool operator==(const AvailabilityFreshness&, const AvailabilityFreshness&) = default;
};

struct AvailabilityProjection {
    std::uint16_t schema_version = 1;
    std::string record_id;
    std::optional<std::string> current_version;
    Residency residency;
    ProjectedTransfer transfer;
    StoragePolicy policy = StoragePolicy::Automatic;
    bool policy_inherited = false;
    ReplicaEvidence replicas;
    AvailabilityFreshness freshness;
    friend bool operator==(const AvailabilityProjection&, const AvailabilityProjection&) = default;
};

// ---- history (user.orvo.history) --------------------------------------------------------

struct HistoryActor {
    Key32 person{};
    Key32 device{};
    friend bool operator==(const HistoryActor&, const HistoryActor&) = default;
};

struct HistoryVersion {
    std::string id;
    std::string record_id;
    std::vector<std::string> parents;
    HistoryActor actor;
    std::uint64_t timestamp_ms = 0;
    std::optional<Key32> content_hash;
    Key32 metadata_hash{};
    std::string provenance;  // the JSON value, compact
    friend bool operator==(const HistoryVersion&, const HistoryVersion&) = default;
};

struct HistoryProjection {
    std::uint16_t schema_version = 1;
    std::string record_id;
    std::uint64_t total_versions = 0;
    bool versions_truncated = false;
    std::vector<std::string> heads;
    std::vector<HistoryVersion> versions;
    bool conflicts_truncated = false;
    std::vector<collab_types::FileConflictV1> conflicts;
    friend bool operator==(const HistoryProjection&, const HistoryProjection&) = default;
};

// ---- sharing (user.orvo.share) ----------------------------------------------------------

enum class SharePermission { View, Edit };
enum class GrantStatus { Active, Expired, Revoked, Exhausted };

struct ShareSubject {
    bool bearer_link = false;
    Key32 person{};  // when not a bearer link
    friend bool operator==(const ShareSubject&, const ShareSubject&) = default;
};

struct ShareGrantProjection {
    std::string grant_id;
    ShareSubject subject;
    SharePermission permission = SharePermission::View;
    std::optional<std::uint64_t> expires_at_ms;
    bool revoked = false;
    bool expired = false;
    bool used = false;
    bool exhausted = false;
    GrantStatus status = GrantStatus::Active;
    std::uint32_t redemptions = 0;
    std::optional<std::uint32_t> max_redemptions;
    friend bool operator==(const ShareGrantProjection&, const ShareGrantProjection&) = default;
};

struct ShareProjection {
    std::uint16_t schema_version = 1;
    std::string record_id;
    std::uint64_t observed_at_ms = 0;
    std::vector<ShareGrantProjection> grants;
    friend bool operator==(const ShareProjection&, const ShareProjection&) = default;
};

std::size_t active_grant_count(const ShareProjection& p);

// ---- metadata and merge preflight -------------------------------------------------------

struct MetadataProjection {
    std::uint16_t schema_version = 1;
    Uuid record_id;
    collab_types::FilePropertiesV1 properties;
    friend bool operator==(const MetadataProjection&, const MetadataProjection&) = default;
};

struct MergePreflightProjectionV1 {
    std::uint16_t schema_version = 1;
    Uuid conflict_id;
    bool safe = false;
    std::string explanation;
    std::string diff_summary;
    friend bool operator==(const MergePreflightProjectionV1&, const MergePreflightProjectionV1&) = default;
};

// ---- decoding ---------------------------------------------------------------------------

// Size bounds of the attributes, inclusive.
inline constexpr size_t kAvailabilityBound = 2048;
inline constexpr size_t kMetadataBound = 2048;
inline constexpr size_t kShareBound = 16384;
inline constexpr size_t kHistoryBound = 16384;
inline constexpr size_t kMergePreflightBound = 4096;
inline constexpr size_t kHistoryControlBound = 1024;

// Each decodes one JSON document and applies its rules; nothing on any failure.
std::optional<AvailabilityProjection> decode_availability(std::string_view json);
std::optional<HistoryProjection> decode_history(std::string_view json);
std::optional<ShareProjection> decode_share(std::string_view json);
std::optional<MetadataProjection> decode_metadata(std::string_view json);
std::optional<MergePreflightProjectionV1> decode_merge_preflight(std::string_view json, const Uuid& conflict_id);

}  // namespace files::model

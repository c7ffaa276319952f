#pragma once
// The workspace attribute channel: bounded, validated reads of what the synchronisation service
// publishes as extended attributes, and the one request the application writes here.
#include "model/documents.hpp"

#include <array>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace files::model {

using std::filesystem::path;

inline constexpr const char* kAttrRecordId = "user.orvo.record-id";
inline constexpr const char* kAttrSync = "user.orvo.sync";
inline constexpr const char* kAttrContentHash = "user.orvo.content-hash";
inline constexpr const char* kAttrThumb = "user.orvo.thumb";
inline constexpr const char* kAttrMetadata = "user.orvo.metadata";
inline constexpr const char* kAttrAvailability = "user.orvo.availability";
inline constexpr const char* kAttrShare = "user.orvo.share";
inline constexpr const char* kAttrHistory = "user.orvo.history";
inline constexpr const char* kAttrShareControl = "user.orvo.share-control";
inline constexpr const char* kAttrHistoryControl = "user.orvo.history-control";
inline constexpr std::string_view kAttrMergePreflightPrefix = "user.orvo.merge-preflight.";

using RecordId = std::array<std::uint8_t, 16>;
using ContentHash = std::array<std::uint8_t, 32>;

enum class SyncState { Unrecognised, Local, Projected, Downloading };

// ---- the generic pipeline ---------------------------------------------------------------

// The attribute's bytes when it can be read (link not followed) and is at most `bound` long.
std::optional<std::string> read_bounded_attribute(const path& p, const char* name, size_t bound);
std::optional<std::string> read_bounded_attribute(int fd, const char* name, size_t bound);

template <typename T>
using DocumentDecoder = std::optional<T> (*)(std::string_view);

// Read, bound, decode, validate: the document whole, or nothing.
template <typename T>
std::optional<T> read_json_attribute(const path& p, const char* name, size_t bound, DocumentDecoder<T> decode) {
    auto bytes = read_bounded_attribute(p, name, bound);
    if (!bytes) return std::nullopt;
    return decode(*bytes);
}
template <typename T>
std::optional<T> read_json_attribute(int fd, const char* name, size_t bound, DocumentDecoder<T> decode) {
    auto bytes = read_bounded_attribute(fd, name, bound);
    if (!bytes) return std::nullopt;
    return decode(*bytes);
}

// ---- raw values -------------------------------------------------------------------------

std::optional<RecordId> parse_record_id(std::string_view bytes);
SyncState parse_sync_state(std::string_view bytes);
std::optional<ContentHash> parse_content_hash(std::string_view bytes);

std::optional<RecordId> read_record_id(const path& p);
SyncState read_sync_state(const path& p);
std::optional<ContentHash> read_content_hash(const path& p);
std::optional<std::string> read_thumbnail(const path& p);
// The share service's control endpoint of the workspace holding the path: absolute, UTF-8.
std::optional<path> share_control_path(const path& p, const std::vector<path>& roots);

// ---- documents --------------------------------------------------------------------------

std::optional<AvailabilityProjection> read_availability(const path& p);
std::optional<ShareProjection> read_share(const path& p);
std::optional<HistoryProjection> read_history(const path& p);
std::optional<MetadataProjection> read_metadata(const path& p);
std::optional<MergePreflightProjectionV1> read_merge_preflight(const path& p, const Uuid& conflict_id);

// ---- collaboration fields of an entry ---------------------------------------------------

struct CollabFields {
    std::optional<RecordId> record_id;
    SyncState sync = SyncState::Unrecognised;
    std::optional<ContentHash> content_hash;
    std::shared_ptr<const AvailabilityProjection> availability;
    std::shared_ptr<const ShareProjection> share;
    std::shared_ptr<const HistoryProjection> history;
    std::shared_ptr<const MetadataProjection> metadata;
};

// The documents decoded for each path with the bytes they came from, so an attribute whose bytes
// did not change is not decoded again. Holds the paths of the last two passes; begin_pass()
// drops the older, which bounds its size.
class DocumentCache {
public:
    template <typename T>
    struct Held {
        bool valid = false;
        std::string bytes;
        std::shared_ptr<const T> doc;  // null for bytes that did not decode
    };
    struct Slot {
        Held<AvailabilityProjection> availability;
        Held<ShareProjection> share;
        Held<HistoryProjection> history;
        Held<MetadataProjection> metadata;
    };

    void begin_pass();
    Slot& slot(const path& p);

private:
    std::unordered_map<std::string, Slot> current_, previous_;
};

// The seven fields, each read independently; for folders sync, content hash and metadata are
// not read. With a cache, a document whose bytes are those of the last read of its path is reused.
CollabFields read_collab_attributes(const path& p, bool is_dir, DocumentCache* cache = nullptr);

// ---- requests and identifiers -----------------------------------------------------------

// The compact request document: resolve the conflict, keeping version_id.
std::string encode_history_control(const Uuid& conflict_id, collab_types::ConflictStrategy strategy,
                                   const Uuid& version_id);
// Writes the request; a localised message on failure.
std::expected<void, std::string> write_history_control(const path& p, const Uuid& conflict_id,
                                                       collab_types::ConflictStrategy strategy,
                                                       const Uuid& version_id);

// 32 lower-case hex digits naming the raw path bytes (no normalisation).
std::string local_resource_id(const path& p);

}  // namespace files::model

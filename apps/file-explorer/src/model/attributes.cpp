#include "model/attributes.hpp"

#include "i18n/i18n.hpp"
#include "model/sys.hpp"
#include "model/utf8.hpp"
#include "model/workspace.hpp"

#include <openssl/evp.h>

#include <cerrno>
#include <cstring>

namespace files::model {

namespace {

// Larger than any value the kernel stores: "any size" attributes.
constexpr size_t kUnbounded = 65536;

// Unicode White_Space, for trimming the sync word.
bool is_white_space(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// Decodes one code point of valid UTF-8 at i (advancing i).
char32_t next_code_point(std::string_view s, size_t& i) {
    auto c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    char32_t cp = n == 1 ? c : c & (0x7F >> n);
    for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += n;
    return cp;
}

std::string_view trim_white_space(std::string_view s) {
    // Leading: skip code points while white. Trailing: remember where the last non-white ended.
    size_t i = 0, start = s.size(), end = 0;
    while (i < s.size()) {
        size_t at = i;
        char32_t cp = next_code_point(s, i);
        if (!is_white_space(cp)) {
            if (start == s.size()) start = at;
            end = i;
        }
    }
    return start == s.size() ? std::string_view() : s.substr(start, end - start);
}

template <typename T>
std::shared_ptr<const T> read_shared(const path& p, const char* name, size_t bound,
                                     std::optional<T> (*decode)(std::string_view),
                                     DocumentCache::Held<T>* held) {
    auto bytes = sys::get_attribute_view(p, name, bound);
    if (!bytes) return nullptr;
    if (held && held->valid && held->bytes == *bytes) return held->doc;
    std::shared_ptr<const T> doc;
    if (auto decoded = decode(*bytes)) doc = std::make_shared<const T>(std::move(*decoded));
    if (held) *held = DocumentCache::Held<T>{true, std::string(*bytes), doc};
    return doc;
}

}  // namespace

std::optional<std::string> read_bounded_attribute(const path& p, const char* name, size_t bound) {
    auto v = sys::get_attribute(p, name, bound);
    if (!v) return std::nullopt;
    return std::move(*v);
}

std::optional<std::string> read_bounded_attribute(int fd, const char* name, size_t bound) {
    auto v = sys::get_attribute(fd, name, bound);
    if (!v) return std::nullopt;
    return std::move(*v);
}

std::optional<RecordId> parse_record_id(std::string_view b) {
    if (b.size() != 16) return std::nullopt;
    RecordId id;
    std::memcpy(id.data(), b.data(), 16);
    return id;
}

std::optional<ContentHash> parse_content_hash(std::string_view b) {
    if (b.size() != 32) return std::nullopt;
    ContentHash h;
    std::memcpy(h.data(), b.data(), 32);
    return h;
}

SyncState parse_sync_state(std::string_view b) {
    if (!text::is_valid_utf8(b)) return SyncState::Unrecognised;
    std::string_view w = trim_white_space(b);
    if (w == "local") return SyncState::Local;
    if (w == "projected") return SyncState::Projected;
    if (w == "downloading") return SyncState::Downloading;
    return SyncState::Unrecognised;
}

std::optional<RecordId> read_record_id(const path& p) {
    auto b = read_bounded_attribute(p, kAttrRecordId, 16);
    return b ? parse_record_id(*b) : std::nullopt;
}

SyncState read_sync_state(const path& p) {
    auto b = read_bounded_attribute(p, kAttrSync, kUnbounded);
    return b ? parse_sync_state(*b) : SyncState::Unrecognised;
}

std::optional<ContentHash> read_content_hash(const path& p) {
    auto b = read_bounded_attribute(p, kAttrContentHash, 32);
    return b ? parse_content_hash(*b) : std::nullopt;
}

std::optional<std::string> read_thumbnail(const path& p) {
    auto b = read_bounded_attribute(p, kAttrThumb, kUnbounded);
    if (!b || b->empty()) return std::nullopt;
    return b;
}

std::optional<path> share_control_path(const path& p, const std::vector<path>& roots) {
    auto root = workspace_root_of(p, roots);
    if (!root) return std::nullopt;
    auto b = read_bounded_attribute(*root, kAttrShareControl, 4096);
    if (!b || b->empty() || !text::is_valid_utf8(*b)) return std::nullopt;
    path endpoint(*b);
    if (!endpoint.is_absolute()) return std::nullopt;
    return endpoint;
}

std::optional<AvailabilityProjection> read_availability(const path& p) {
    return read_json_attribute(p, kAttrAvailability, kAvailabilityBound, &decode_availability);
}
std::optional<ShareProjection> read_share(const path& p) {
    return read_json_attribute(p, kAttrShare, kShareBound, &decode_share);
}
std::optional<HistoryProjection> read_history(const path& p) {
    return read_json_attribute(p, kAttrHistory, kHistoryBound, &decode_history);
}
std::optional<MetadataProjection> read_metadata(const path& p) {
    return read_json_attribute(p, kAttrMetadata, kMetadataBound, &decode_metadata);
}

std::optional<MergePreflightProjectionV1> read_merge_preflight(const path& p, const Uuid& conflict_id) {
    std::string name = std::string(kAttrMergePreflightPrefix) + conflict_id.to_string();
    auto b = read_bounded_attribute(p, name.c_str(), kMergePreflightBound);
    if (!b) return std::nullopt;
    return decode_merge_preflight(*b, conflict_id);
}

void DocumentCache::begin_pass() {
    previous_ = std::move(current_);
    current_.clear();
}

DocumentCache::Slot& DocumentCache::slot(const path& p) {
    if (auto it = current_.find(p.native()); it != current_.end()) return it->second;
    if (auto node = previous_.extract(p.native())) return current_.insert(std::move(node)).position->second;
    return current_[p.native()];
}

CollabFields read_collab_attributes(const path& p, bool is_dir, DocumentCache* cache) {
    CollabFields f;
    // One listing call tells which of the seven exist, so absent ones cost no read. Should it
    // fail for a reason other than a long list, no single read could succeed either.
    bool present[7] = {true, true, true, true, true, true, true};
    static constexpr const char* kNames[7] = {kAttrSync,  kAttrContentHash, kAttrRecordId, kAttrAvailability,
                                              kAttrShare, kAttrHistory,     kAttrMetadata};
    if (auto names = sys::list_attributes(p)) {
        for (auto& b : present) b = false;
        std::string_view all(*names);
        for (size_t pos = 0; pos < all.size();) {
            size_t end = all.find('\0', pos);
            if (end == std::string_view::npos) end = all.size();
            std::string_view n = all.substr(pos, end - pos);
            for (int i = 0; i < 7; ++i)
                if (n == kNames[i]) present[i] = true;
            pos = end + 1;
        }
    } else if (names.error() != ERANGE) {
        return f;
    }
    DocumentCache::Slot* slot = cache ? &cache->slot(p) : nullptr;
    if (!is_dir) {
        if (present[0]) f.sync = read_sync_state(p);
        if (present[1]) f.content_hash = read_content_hash(p);
    }
    if (present[2]) f.record_id = read_record_id(p);
    if (present[3])
        f.availability = read_shared(p, kAttrAvailability, kAvailabilityBound, &decode_availability,
                                     slot ? &slot->availability : nullptr);
    if (present[4])
        f.share = read_shared(p, kAttrShare, kShareBound, &decode_share, slot ? &slot->share : nullptr);
    if (present[5])
        f.history = read_shared(p, kAttrHistory, kHistoryBound, &decode_history, slot ? &slot->history : nullptr);
    if (!is_dir && present[6])
        f.metadata =
            read_shared(p, kAttrMetadata, kMetadataBound, &decode_metadata, slot ? &slot->metadata : nullptr);
    return f;
}

std::string encode_history_control(const Uuid& conflict_id, collab_types::ConflictStrategy strategy,
                                   const Uuid& version_id) {
    std::string out = R"({"schema_version":1,"operation":{"operation":"resolve_conflict","conflict_id":")";
    out += conflict_id.to_string();
    out += R"(","strategy":")";
    out += collab_types::to_string(strategy);
    out += R"(","version_id":")";
    out += version_id.to_string();
    out += R"("}})";
    return out;
}

std::expected<void, std::string> write_history_control(const path& p, const Uuid& conflict_id,
                                                       collab_types::ConflictStrategy strategy,
                                                       const Uuid& version_id) {
    // Built from fixed text and hex digits, so encoding itself cannot fail.
    std::string doc = encode_history_control(conflict_id, strategy, version_id);
    if (doc.size() > kHistoryControlBound) return std::unexpected(i18n::tr("files-conflict-request-too-large"));
    if (auto r = sys::set_attribute(p, kAttrHistoryControl, doc); !r)
        return std::unexpected(i18n::tr_args("files-conflict-resolve-failed",
                                             i18n::MessageArgs().set("error", sys::error_text(r.error()))));
    return {};
}

std::string local_resource_id(const path& p) {
    static constexpr std::string_view kDomain = "orvo.files.local-resource.v1\\0";
    static_assert(kDomain.size() == 30);
    const std::string& raw = p.native();
    unsigned char len[8];
    std::uint64_t n = raw.size();
    for (int i = 0; i < 8; ++i) len[i] = static_cast<unsigned char>(n >> (8 * (7 - i)));
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int md_len = 0;
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    if (!ctx || !EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) ||
        !EVP_DigestUpdate(ctx.get(), kDomain.data(), kDomain.size()) || !EVP_DigestUpdate(ctx.get(), len, 8) ||
        !EVP_DigestUpdate(ctx.get(), raw.data(), raw.size()) || !EVP_DigestFinal_ex(ctx.get(), md, &md_len))
        return std::string(32, '0');
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (int i = 0; i < 16; ++i) {
        out += kHex[md[i] >> 4];
        out += kHex[md[i] & 15];
    }
    return out;
}

}  // namespace files::model

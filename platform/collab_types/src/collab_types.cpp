#include "collab_types/collab_types.hpp"

#include <algorithm>

namespace collab_types {

namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

constexpr char kHex[] = "0123456789abcdef";

// Printable UTF-8 without control characters (C0, DEL, C1).
bool printable_utf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        std::uint32_t cp = n == 1 ? c : c & (0x7F >> n);
        for (size_t k = 1; k < n; ++k) {
            auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        static constexpr std::uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) return false;
        i += n;
    }
    return true;
}

}  // namespace

bool Uuid::is_nil() const {
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

std::optional<Uuid> Uuid::parse(std::string_view t) {
    if (t.size() == 45 && (t.starts_with("urn:uuid:") || t.starts_with("URN:UUID:"))) t.remove_prefix(9);
    else if (t.size() == 38 && t.front() == '{' && t.back() == '}') t = t.substr(1, 36);
    bool hyphenated = t.size() == 36;
    if (!hyphenated && t.size() != 32) return std::nullopt;
    Uuid u;
    size_t k = 0;
    for (size_t i = 0; i < t.size();) {
        if (hyphenated && (i == 8 || i == 13 || i == 18 || i == 23)) {
            if (t[i] != '-') return std::nullopt;
            ++i;
            continue;
        }
        int hi = hex_value(t[i]), lo = i + 1 < t.size() ? hex_value(t[i + 1]) : -1;
        if (hi < 0 || lo < 0 || k >= 16) return std::nullopt;
        u.bytes[k++] = static_cast<std::uint8_t>(hi << 4 | lo);
        i += 2;
    }
    if (k != 16) return std::nullopt;
    return u;
}

std::string Uuid::to_plain_string() const {
    std::string out;
    out.reserve(32);
    for (auto b : bytes) {
        out += kHex[b >> 4];
        out += kHex[b & 15];
    }
    return out;
}

std::string Uuid::to_string() const {
    std::string plain = to_plain_string();
    return plain.substr(0, 8) + '-' + plain.substr(8, 4) + '-' + plain.substr(12, 4) + '-' + plain.substr(16, 4) +
           '-' + plain.substr(20);
}

std::string_view to_string(ConflictStrategy s) {
    switch (s) {
        case ConflictStrategy::KeepCurrent: return "KeepCurrent";
        case ConflictStrategy::UseOther: return "UseOther";
        case ConflictStrategy::KeepBoth: return "KeepBoth";
        case ConflictStrategy::Merge: return "Merge";
    }
    return "KeepCurrent";
}

std::optional<ConflictStrategy> parse_conflict_strategy(std::string_view t) {
    for (auto s : {ConflictStrategy::KeepCurrent, ConflictStrategy::UseOther, ConflictStrategy::KeepBoth,
                   ConflictStrategy::Merge})
        if (to_string(s) == t) return s;
    return std::nullopt;
}

std::expected<void, std::string> FileConflictV1::validate() const {
    if (id.is_nil()) return std::unexpected("conflict id is nil");
    if (record_id.is_nil()) return std::unexpected("record id is nil");
    if (versions.size() < 2 || versions.size() > 16) return std::unexpected("a conflict needs 2 to 16 versions");
    for (size_t i = 0; i < versions.size(); ++i) {
        if (versions[i].is_nil()) return std::unexpected("version id is nil");
        for (size_t j = 0; j < i; ++j)
            if (versions[j] == versions[i]) return std::unexpected("duplicate version");
    }
    if ((status == ConflictStatus::Resolved) != resolution.has_value())
        return std::unexpected("a resolution must be present exactly when resolved");
    if (resolution && resolution->result.is_nil()) return std::unexpected("resolution result is nil");
    return {};
}

std::expected<void, std::string> FilePropertiesV1::validate() const {
    if (schema_version != 1) return std::unexpected("unsupported schema version");
    if (image_width.has_value() != image_height.has_value())
        return std::unexpected("image width and height come together");
    if ((image_width && *image_width == 0) || (image_height && *image_height == 0))
        return std::unexpected("empty image");
    if (page_count && *page_count == 0) return std::unexpected("zero pages");
    for (const auto* s : {&codec, &container})
        if (*s && ((*s)->empty() || (*s)->size() > 64 || !printable_utf8(**s)))
            return std::unexpected("codec and container are 1 to 64 printable bytes");
    return {};
}

}  // namespace collab_types

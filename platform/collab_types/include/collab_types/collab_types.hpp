#pragma once
// Collaboration value types shared by the application and the synchronisation service, and the
// checks the service's library applies to them.
#include <array>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace collab_types {

// A UUID as its 16 raw bytes.
struct Uuid {
    std::array<std::uint8_t, 16> bytes{};

    bool is_nil() const;
    // Hyphenated, plain 32 hex digits, braced or urn:uuid: form; either letter case.
    static std::optional<Uuid> parse(std::string_view text);
    // Hyphenated lower case, 36 characters.
    std::string to_string() const;
    // 32 lower-case hex digits.
    std::string to_plain_string() const;

    friend bool operator==(const Uuid&, const Uuid&) = default;
    friend auto operator<=>(const Uuid&, const Uuid&) = default;
};

using Key32 = std::array<std::uint8_t, 32>;

struct FileActor {
    Key32 person{};
    Key32 device{};
    friend bool operator==(const FileActor&, const FileActor&) = default;
};

enum class ConflictStrategy { KeepCurrent, UseOther, KeepBoth, Merge };
std::string_view to_string(ConflictStrategy s);
std::optional<ConflictStrategy> parse_conflict_strategy(std::string_view text);

enum class ConflictStatus { Open, Resolved };

struct ConflictResolution {
    ConflictStrategy strategy = ConflictStrategy::KeepCurrent;
    Uuid result;
    FileActor actor;
    std::uint64_t timestamp_ms = 0;
    friend bool operator==(const ConflictResolution&, const ConflictResolution&) = default;
};

struct FileConflictV1 {
    Uuid id;
    Uuid record_id;
    std::vector<Uuid> versions;
    ConflictStatus status = ConflictStatus::Open;
    std::optional<ConflictResolution> resolution;

    // Non-nil ids; 2 to 16 distinct, non-nil competing versions; a resolution exactly when
    // resolved, whose result is not nil.
    std::expected<void, std::string> validate() const;
    friend bool operator==(const FileConflictV1&, const FileConflictV1&) = default;
};

struct FilePropertiesV1 {
    std::uint16_t schema_version = 1;
    std::optional<std::uint32_t> image_width;
    std::optional<std::uint32_t> image_height;
    std::optional<std::uint64_t> duration_ms;
    std::optional<std::uint32_t> page_count;
    std::optional<std::string> codec;
    std::optional<std::string> container;

    // Schema 1; width and height together and non-zero; a non-zero page count; codec and
    // container 1 to 64 bytes of printable UTF-8.
    std::expected<void, std::string> validate() const;
    friend bool operator==(const FilePropertiesV1&, const FilePropertiesV1&) = default;
};

}  // namespace collab_types

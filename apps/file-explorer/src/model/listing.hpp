#pragma once
// The listing of the current folder: reading, the hidden rule, the order, and loading.
#include <chrono>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace files::model {

using std::filesystem::path;

// Modification time as the system gives it (seconds and nanoseconds since the epoch).
struct FileTime {
    std::int64_t seconds = 0;
    std::uint32_t nanoseconds = 0;
    friend auto operator<=>(const FileTime&, const FileTime&) = default;
};

struct FolderEntry {
    std::string name;  // UTF-8, invalid sequences replaced
    std::filesystem::path path;  // folder joined with the raw name
    std::string type;  // MIME type guessed from the extension
    std::uint64_t size = 0;
    std::optional<FileTime> modified;
    bool is_dir = false;

    friend bool operator==(const FolderEntry&, const FolderEntry&) = default;
};

enum class SortKey { Name = 0, Size = 1, Modified = 2, Type = 3 };

// The MIME type for a file name's extension; application/octet-stream when unknown.
std::string guess_mime_type(const path& p);

// The folder's entries in the order the system returns them, links not followed.
std::expected<std::vector<FolderEntry>, std::string> read_folder(const path& folder, bool in_workspace);

void remove_hidden(std::vector<FolderEntry>& entries);
// Stable: folders first in both directions; equal keys keep their read order.
void sort_entries(std::vector<FolderEntry>& entries, SortKey key, bool descending);

// The full Unicode lower-case mapping, as UTF-8.
std::string full_lowercase(std::string_view utf8);

using Instant = std::chrono::steady_clock::time_point;

// How long the silent refresh waits before re-reading a folder of n entries.
std::chrono::milliseconds refresh_interval(size_t n);

struct Listing {
    path current;
    std::vector<FolderEntry> entries;
    bool show_hidden = false;
    SortKey sort_key = SortKey::Name;
    bool descending = false;
    bool loading = false;
    std::optional<std::string> load_error;
    std::uint64_t load_generation = 0;
    Instant next_refresh{};
};

// Reads the folder into the listing and makes it current (also on error, so Retry reads it
// again). Returns the status message the load leaves, if any.
std::optional<std::string> load_folder(Listing& listing, const path& target);

}  // namespace files::model

#pragma once
// The listing of the current folder: reading, the hidden rule, the order, loading and the silent
// refresh. Plain functions on plain data, so they run without a display.
#include "model/attributes.hpp"
#include "model/mime.hpp"

#include <chrono>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
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
    std::string name;            // UTF-8, invalid sequences replaced
    std::filesystem::path path;  // folder joined with the raw name
    std::string type;            // MIME type guessed from the extension
    std::uint64_t size = 0;
    std::optional<FileTime> modified;
    bool is_dir = false;

    // Read only inside a workspace; sync, content_hash and metadata for files only. The
    // documents are shared and immutable: an entry without them stays small, and an unchanged
    // attribute keeps its decoded value across refreshes.
    std::optional<RecordId> record_id;
    SyncState sync = SyncState::Unrecognised;
    std::optional<ContentHash> content_hash;
    std::shared_ptr<const AvailabilityProjection> availability;
    std::shared_ptr<const ShareProjection> share;
    std::shared_ptr<const HistoryProjection> history;
    std::shared_ptr<const MetadataProjection> metadata;

    // Field by field, documents by value.
    friend bool operator==(const FolderEntry& a, const FolderEntry& b);
};

enum class SortKey { Name = 0, Size = 1, Modified = 2, Type = 3 };

enum class HiddenEntries { Keep, Skip };

struct EntryOrder {
    SortKey key = SortKey::Name;
    bool descending = false;
};

// The folder's entries in the order the system returns them, links not followed. An entry whose
// metadata cannot be read has size 0, no time and is not a folder. With a cache, unchanged
// documents are not decoded again. Skipping hidden names and giving an order yield what
// remove_hidden and sort_entries would, cheaper: skipped names are never looked at, and entries
// are built in their final place instead of moved there. A folder of many thousand entries is
// stat-ed and built on up to four short-lived threads; the call still returns only when done.
std::expected<std::vector<FolderEntry>, std::string> read_folder(const path& folder, bool in_workspace,
                                                                 DocumentCache* cache = nullptr,
                                                                 HiddenEntries hidden = HiddenEntries::Keep,
                                                                 std::optional<EntryOrder> order = std::nullopt);

void remove_hidden(std::vector<FolderEntry>& entries);
// Stable: folders first in both directions; equal keys keep their read order. Names compare
// by their full Unicode lower case, byte by byte.
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
    DocumentCache documents;
};

// The user's Trash "files" folder ($XDG_DATA_HOME/Trash/files), if a data folder is known.
std::optional<path> trash_files_folder();

// Reads the folder into the listing and makes it current (also on error, so Retry reads it
// again); the load error is the localised message with the system's reason. Returns the status
// message the load leaves, if any. The caller clears its selection, click memory, status message
// and scroll offset before, and hands the generation to the sidebar after.
std::optional<std::string> load_folder(Listing& listing, const path& target);
inline std::optional<std::string> reload(Listing& listing) { return load_folder(listing, path(listing.current)); }

// Sort changes reorder in place; the folder is not read again.
void set_sort_key(Listing& listing, SortKey key);
void set_descending(Listing& listing, bool descending);
void toggle_descending(Listing& listing);
// Columns 1 to 3 of the list view: Name, Size, Modified. Others do nothing.
void choose_sort_column(Listing& listing, int column);
// Flips show hidden and reloads; returns the status message of the reload.
std::optional<std::string> toggle_hidden(Listing& listing);

// When the refresh is due at `now`, schedules the next one by the current entry count and says
// yes; before that, no.
bool refresh_due(Listing& listing, Instant now);

struct RefreshOutcome {
    bool changed = false;                  // the entries were replaced: redraw
    std::vector<size_t> selection;         // when changed: indices whose paths were selected, in
                                           // the old selection order
    std::optional<size_t> focus;           // when changed: the focused entry found again, if any
};

// Re-reads the current folder (not an archive interior) and replaces the entries only when
// something differs. A read error leaves everything as it was. The focused entry is found again
// by record id and path, then by record id alone (renamed by the service), then by path.
RefreshOutcome refresh_listing(Listing& listing, std::span<const size_t> selected, std::optional<size_t> focus);

// The status message when set, else the item count; with a selection, the selected count after it.
std::string status_line_text(const std::optional<std::string>& status_message, size_t entry_count,
                             size_t selected_count);

}  // namespace files::model

#include "model/listing.hpp"

#include "i18n/i18n.hpp"
#include "model/archive_location.hpp"
#include "model/sys.hpp"
#include "model/utf8.hpp"
#include "model/workspace.hpp"

#include <orvo_ui/sysdirs.hpp>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace files::model {

namespace {

template <typename T>
bool same_document(const std::shared_ptr<const T>& a, const std::shared_ptr<const T>& b) {
    if (a == b) return true;
    return a && b && *a == *b;
}

struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

bool is_ascii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// The Name sort key; plain ASCII lower-cases the same under the full mapping.
void append_lower(std::string& out, std::string_view name) {
    if (is_ascii(name)) {
        for (char c : name) out += (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
    } else {
        out += full_lowercase(name);
    }
}

int compare_u64(std::uint64_t a, std::uint64_t b) { return a < b ? -1 : a > b ? 1 : 0; }

// Absent first; then by the instant (seconds, then nanoseconds).
int compare_time(const std::optional<FileTime>& a, const std::optional<FileTime>& b) {
    if (!a || !b) return int(a.has_value()) - int(b.has_value());
    auto c = *a <=> *b;
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int compare_bytes(std::string_view a, std::string_view b) {
    int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

void mkdir_private_all(const path& p) {
    path at;
    for (const auto& part : p) {
        at /= part;
        ::mkdir(at.c_str(), 0700);  // existing levels fail with EEXIST, which is fine
    }
}

}  // namespace

bool operator==(const FolderEntry& a, const FolderEntry& b) {
    return a.name == b.name && a.path == b.path && a.type == b.type && a.size == b.size &&
           a.modified == b.modified && a.is_dir == b.is_dir && a.record_id == b.record_id && a.sync == b.sync &&
           a.content_hash == b.content_hash && same_document(a.availability, b.availability) &&
           same_document(a.share, b.share) && same_document(a.history, b.history) &&
           same_document(a.metadata, b.metadata);
}

std::expected<std::vector<FolderEntry>, std::string> read_folder(const path& folder, bool in_workspace,
                                                                 DocumentCache* cache) {
    auto fd = sys::open_at(AT_FDCWD, folder, O_RDONLY | O_DIRECTORY);
    if (!fd) return std::unexpected(sys::error_text(fd.error()));
    int dfd = fd->get();
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(dfd));
    if (!dir) return std::unexpected(sys::error_text(errno));
    fd->release();  // the stream owns it now
    if (cache && in_workspace) cache->begin_pass();

    // Names first, so the entries are allocated once and the stats run in read order.
    std::string names;
    std::vector<std::uint32_t> starts;
    while (struct dirent* d = ::readdir(dir.get())) {
        std::string_view raw(d->d_name);
        if (raw == "." || raw == "..") continue;
        starts.push_back(std::uint32_t(names.size()));
        names.append(raw).push_back('\0');
    }
    std::string prefix = folder.native();
    if (prefix.empty() || prefix.back() != '/') prefix += '/';
    std::vector<FolderEntry> out(starts.size());
    for (size_t i = 0; i < starts.size(); ++i) {
        const char* cname = names.data() + starts[i];
        std::string_view raw(cname);
        FolderEntry& e = out[i];
        e.name = text::lossy_utf8(raw);
        std::string full;
        full.reserve(prefix.size() + raw.size());
        full.append(prefix).append(raw);
        e.path = path(std::move(full));
        e.type = guess_mime_type(raw);
        struct stat st;
        if (::fstatat(dfd, cname, &st, AT_SYMLINK_NOFOLLOW) == 0) {
            e.size = std::uint64_t(st.st_size);
            e.modified = FileTime{std::int64_t(st.st_mtim.tv_sec), std::uint32_t(st.st_mtim.tv_nsec)};
            e.is_dir = S_ISDIR(st.st_mode);
        }
        if (in_workspace) {
            CollabFields f = read_collab_attributes(e.path, e.is_dir, cache);
            e.record_id = f.record_id;
            e.sync = f.sync;
            e.content_hash = f.content_hash;
            e.availability = std::move(f.availability);
            e.share = std::move(f.share);
            e.history = std::move(f.history);
            e.metadata = std::move(f.metadata);
        }
    }
    return out;
}

void remove_hidden(std::vector<FolderEntry>& entries) {
    std::erase_if(entries, [](const FolderEntry& e) { return e.name.starts_with('.'); });
}

std::string full_lowercase(std::string_view utf8) {
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), int32_t(utf8.size())));
    u.toLower(icu::Locale::getRoot());
    std::string out;
    u.toUTF8String(out);
    return out;
}

void sort_entries(std::vector<FolderEntry>& entries, SortKey key, bool descending) {
    struct Item {
        std::uint32_t index;
        std::uint32_t key_offset;
        std::uint32_t key_size;
        bool is_dir;
    };
    // Name keys are lower-cased once per entry into one buffer; the order is the same as
    // lower-casing inside each comparison.
    std::string keys;
    std::vector<Item> items(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        items[i] = Item{std::uint32_t(i), std::uint32_t(keys.size()), 0, entries[i].is_dir};
        if (key == SortKey::Name) {
            append_lower(keys, entries[i].name);
            items[i].key_size = std::uint32_t(keys.size() - items[i].key_offset);
        }
    }
    auto key_cmp = [&](const Item& a, const Item& b) -> int {
        const FolderEntry& x = entries[a.index];
        const FolderEntry& y = entries[b.index];
        switch (key) {
            case SortKey::Name:
                return compare_bytes(std::string_view(keys).substr(a.key_offset, a.key_size),
                                     std::string_view(keys).substr(b.key_offset, b.key_size));
            case SortKey::Size: return compare_u64(x.size, y.size);
            case SortKey::Modified: return compare_time(x.modified, y.modified);
            case SortKey::Type: return compare_bytes(x.type, y.type);
        }
        return 0;
    };
    std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        if (a.is_dir != b.is_dir) return a.is_dir;
        int c = key_cmp(a, b);
        return descending ? c > 0 : c < 0;
    });
    // Apply the permutation in place, cycle by cycle: no second array of entries.
    std::vector<std::uint32_t> source(items.size());
    for (size_t i = 0; i < items.size(); ++i) source[i] = items[i].index;
    for (size_t i = 0; i < source.size(); ++i) {
        if (source[i] == i) continue;
        FolderEntry held = std::move(entries[i]);
        size_t at = i;
        while (source[at] != i) {
            size_t from = source[at];
            entries[at] = std::move(entries[from]);
            source[at] = std::uint32_t(at);
            at = from;
        }
        entries[at] = std::move(held);
        source[at] = std::uint32_t(at);
    }
}

std::chrono::milliseconds refresh_interval(size_t n) {
    using std::chrono::milliseconds;
    if (n <= 511) return milliseconds(750);
    if (n <= 4095) return milliseconds(3000);
    if (n <= 19999) return milliseconds(12000);
    return milliseconds(30000);
}

std::optional<path> trash_files_folder() {
    auto data = orvo_ui::sysdirs::data_dir();
    if (!data) return std::nullopt;
    return *data / "Trash" / "files";
}

std::optional<std::string> load_folder(Listing& l, const path& target) {
    l.loading = true;
    l.load_error.reset();
    std::optional<std::string> status;
    if (auto trash = trash_files_folder(); trash && path_within(target, *trash)) mkdir_private_all(*trash);

    auto archive = locate_archive(target);
    auto read = archive ? read_archive_folder(*archive) : read_folder(target, in_workspace(target), &l.documents);
    if (!read) {
        l.entries.clear();
        l.load_error = i18n::tr_args("files-directory-read-failed", i18n::MessageArgs().set("error", read.error()));
    } else {
        if (!l.show_hidden) remove_hidden(*read);
        sort_entries(*read, l.sort_key, l.descending);
        l.entries = std::move(*read);
    }
    l.current = target;
    if (!l.load_error && archive) status = i18n::tr("files-archive-read-only");
    l.loading = false;
    ++l.load_generation;
    return status;
}

void set_sort_key(Listing& l, SortKey key) {
    l.sort_key = key;
    sort_entries(l.entries, l.sort_key, l.descending);
}

void set_descending(Listing& l, bool descending) {
    if (l.descending != descending) toggle_descending(l);
}

void toggle_descending(Listing& l) {
    l.descending = !l.descending;
    sort_entries(l.entries, l.sort_key, l.descending);
}

void choose_sort_column(Listing& l, int column) {
    static constexpr SortKey kColumns[] = {SortKey::Name, SortKey::Size, SortKey::Modified};
    if (column < 1 || column > 3) return;
    SortKey key = kColumns[column - 1];
    if (key == l.sort_key) toggle_descending(l);
    else set_sort_key(l, key);
}

std::optional<std::string> toggle_hidden(Listing& l) {
    l.show_hidden = !l.show_hidden;
    return reload(l);
}

bool refresh_due(Listing& l, Instant now) {
    if (now < l.next_refresh) return false;
    l.next_refresh = now + refresh_interval(l.entries.size());
    return true;
}

RefreshOutcome refresh_listing(Listing& l, std::span<const size_t> selected, std::optional<size_t> focus) {
    if (locate_archive(l.current)) return {};
    std::vector<path> selected_paths;
    for (size_t i : selected)
        if (i < l.entries.size()) selected_paths.push_back(l.entries[i].path);
    std::optional<std::pair<std::optional<RecordId>, path>> focused;
    if (focus && *focus < l.entries.size()) focused.emplace(l.entries[*focus].record_id, l.entries[*focus].path);

    auto fresh = read_folder(l.current, in_workspace(l.current), &l.documents);
    if (!fresh) return {};
    if (!l.show_hidden) remove_hidden(*fresh);
    sort_entries(*fresh, l.sort_key, l.descending);
    if (*fresh == l.entries) return {};
    l.entries = std::move(*fresh);

    RefreshOutcome out;
    out.changed = true;
    std::unordered_map<std::string_view, size_t> by_path;
    by_path.reserve(l.entries.size());
    for (size_t i = 0; i < l.entries.size(); ++i) by_path.emplace(l.entries[i].path.native(), i);
    std::unordered_set<size_t> taken;
    for (const auto& p : selected_paths)
        if (auto it = by_path.find(p.native()); it != by_path.end() && taken.insert(it->second).second)
            out.selection.push_back(it->second);
    if (focused) {
        const auto& [record, fpath] = *focused;
        auto at_path = by_path.find(fpath.native());
        if (at_path != by_path.end() && l.entries[at_path->second].record_id == record) {
            out.focus = at_path->second;
        } else if (record) {
            for (size_t i = 0; i < l.entries.size() && !out.focus; ++i)
                if (l.entries[i].record_id == record) out.focus = i;
        }
        if (!out.focus && at_path != by_path.end()) out.focus = at_path->second;
    }
    return out;
}

std::string status_line_text(const std::optional<std::string>& status_message, size_t entry_count,
                             size_t selected_count) {
    std::string base = status_message
                           ? *status_message
                           : i18n::tr_args("files-item-count", i18n::MessageArgs().set("count", entry_count));
    if (selected_count == 0) return base;
    return i18n::tr_args("files-selected-count", i18n::MessageArgs().set("base", base).set("count", selected_count));
}

}  // namespace files::model

#include "model/listing.hpp"

#include "i18n/i18n.hpp"
#include "model/archive_location.hpp"
#include "model/sys.hpp"
#include "model/utf8.hpp"
#include "model/workspace.hpp"

#include <orvo_ui/sysdirs.hpp>

#include <dirent.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <system_error>
#include <thread>
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

bool is_ascii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

unsigned char fold_ascii(char c) {
    auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + 32) : u;
}

int compare_u64(std::uint64_t a, std::uint64_t b) { return a < b ? -1 : a > b ? 1 : 0; }

int compare_bytes(std::string_view a, std::string_view b) {
    int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// Name keys compare as their full lower case, byte by byte. ASCII names are folded inside the
// comparison instead of being copied; other names carry their lower case. Folding A-Z again on
// a lower-cased key changes nothing (no lower-case mapping yields an ASCII capital), so both
// kinds go through the same comparison.
int compare_folded(std::string_view a, std::string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = fold_ascii(a[i]), y = fold_ascii(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return compare_u64(a.size(), b.size());
}

// The first eight folded key bytes, big-endian and zero-padded: most comparisons end here
// without touching the names. The padding sorts like the end of a shorter key; equal prefixes
// fall back to the whole keys.
std::uint64_t folded_prefix(std::string_view key) {
    std::uint64_t v = 0;
    for (size_t i = 0; i < 8; ++i) v = (v << 8) | (i < key.size() ? fold_ascii(key[i]) : 0u);
    return v;
}

// One entry to order: index into the caller's sequence, folder flag, and for Name and Type
// the key bytes (which outlive the sort).
struct SortItem {
    std::uint64_t prefix;
    const char* key;
    std::uint32_t key_size;
    std::uint32_t index;
    bool is_dir;
    bool has_time;  // Modified: prefix holds the biased seconds, key_size the nanoseconds
};

// What the order looks at in one entry, wherever the entry lives.
struct SortFields {
    std::string_view name;  // UTF-8
    std::string_view type;
    std::uint64_t size;
    std::optional<FileTime> modified;
    bool is_dir;
};

// The order of n entries under the listing's rule: folders first in both directions, then the
// key, then read order, so the unstable sort yields the stable order. `at(i)` gives the i-th
// entry's SortFields.
template <typename At>
std::vector<SortItem> sort_order(size_t n, SortKey key, bool descending, At&& at) {
    std::vector<SortItem> items(n);
    // Lower-cased keys of non-ASCII names, all in one buffer; their views are taken once it
    // has stopped growing.
    std::string lowered;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> lowered_at;  // item, offset
    for (size_t i = 0; i < n; ++i) {
        SortFields f = at(i);
        SortItem& it = items[i];
        it = SortItem{0, nullptr, 0, std::uint32_t(i), f.is_dir, false};
        switch (key) {
            case SortKey::Name:
                if (is_ascii(f.name)) {
                    it.key = f.name.data();
                    it.key_size = std::uint32_t(f.name.size());
                } else {
                    lowered_at.emplace_back(std::uint32_t(i), std::uint32_t(lowered.size()));
                    size_t before = lowered.size();
                    lowered += full_lowercase(f.name);
                    it.key_size = std::uint32_t(lowered.size() - before);
                }
                break;
            case SortKey::Type:
                it.key = f.type.data();
                it.key_size = std::uint32_t(f.type.size());
                break;
            case SortKey::Size: it.prefix = f.size; break;
            case SortKey::Modified:
                if (f.modified) {
                    it.has_time = true;
                    it.prefix = std::uint64_t(f.modified->seconds) ^ (std::uint64_t(1) << 63);
                    it.key_size = f.modified->nanoseconds;
                }
                break;
        }
    }
    for (auto [i, offset] : lowered_at) items[i].key = lowered.data() + offset;
    if (key == SortKey::Name)
        for (SortItem& it : items) it.prefix = folded_prefix({it.key, it.key_size});
    auto key_cmp = [&](const SortItem& a, const SortItem& b) -> int {
        switch (key) {
            case SortKey::Name:
                if (a.prefix != b.prefix) return a.prefix < b.prefix ? -1 : 1;
                return compare_folded({a.key, a.key_size}, {b.key, b.key_size});
            case SortKey::Size: return compare_u64(a.prefix, b.prefix);
            case SortKey::Modified:
                if (a.has_time != b.has_time) return int(a.has_time) - int(b.has_time);
                if (a.prefix != b.prefix) return a.prefix < b.prefix ? -1 : 1;
                return compare_u64(a.key_size, b.key_size);
            case SortKey::Type: return compare_bytes({a.key, a.key_size}, {b.key, b.key_size});
        }
        return 0;
    };
    std::sort(items.begin(), items.end(), [&](const SortItem& a, const SortItem& b) {
        if (a.is_dir != b.is_dir) return a.is_dir;
        int c = key_cmp(a, b);
        if (c != 0) return descending ? c > 0 : c < 0;
        return a.index < b.index;
    });
    return items;
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

namespace {

// What the system says about one entry, before it becomes a FolderEntry.
struct RawEntry {
    std::uint32_t name_offset;  // into the names buffer, NUL-terminated there
    std::uint32_t name_size;
    std::uint64_t size = 0;
    std::int64_t seconds = 0;
    std::uint32_t nanoseconds = 0;
    bool has_stat = false;
    bool is_dir = false;
};

// A large entry array is touched from end to end at once; on 4 KiB pages each first touch is a
// fault, which dominates building the entries of a big folder. Only whole 2 MiB pages inside
// the array are advised, so nothing outside it changes.
void prefer_huge_pages(void* p, size_t bytes) {
    constexpr std::uintptr_t kHuge = std::uintptr_t(2) << 20;
    if (bytes < 2 * kHuge) return;
    auto begin = (reinterpret_cast<std::uintptr_t>(p) + kHuge - 1) & ~(kHuge - 1);
    auto end = (reinterpret_cast<std::uintptr_t>(p) + bytes) & ~(kHuge - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);  // a hint only
}

// Below this many entries per core a helper thread costs more than it saves.
constexpr size_t kEntriesPerThread = 4096;

// Runs body(begin, end) over [0, n), split across the cores when n is large: the stat calls and
// the allocations of a big folder are independent per entry. A thread that cannot be started
// leaves its share to the calling thread; a failure inside a share is rethrown here, as if the
// work had run inline.
template <typename Body>
void for_shares(size_t n, Body&& body) {
    size_t cores = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 4);
    size_t shares = std::min(cores, n / kEntriesPerThread);
    if (shares <= 1) {
        body(size_t(0), n);
        return;
    }
    std::vector<std::exception_ptr> failures(shares);
    auto run = [&](size_t k) {
        try {
            body(n * k / shares, n * (k + 1) / shares);
        } catch (...) {
            failures[k] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> helpers;
        helpers.reserve(shares - 1);
        std::vector<size_t> inline_shares = {0};
        for (size_t k = 1; k < shares; ++k) {
            try {
                helpers.emplace_back(run, k);
            } catch (const std::system_error&) {
                inline_shares.push_back(k);
            }
        }
        for (size_t k : inline_shares) run(k);
    }
    for (auto& f : failures)
        if (f) std::rethrow_exception(f);
}

// Large reads: a 100,000-entry folder takes a few dozen calls.
constexpr size_t kDirentBuffer = 256 * 1024;

}  // namespace

std::expected<std::vector<FolderEntry>, std::string> read_folder(const path& folder, bool in_workspace,
                                                                 DocumentCache* cache, HiddenEntries hidden,
                                                                 std::optional<EntryOrder> order) {
    auto fd = sys::open_at(AT_FDCWD, folder, O_RDONLY | O_DIRECTORY);
    if (!fd) return std::unexpected(sys::error_text(fd.error()));
    int dfd = fd->get();
    if (cache && in_workspace) cache->begin_pass();

    // The folder's own size roughly bounds its names (ext4: blocks of entries); reserving by it
    // costs nothing until touched and spares the regrowth copies.
    size_t hint = 0;
    if (struct stat dst; ::fstat(dfd, &dst) == 0 && dst.st_size > 0)
        hint = std::min<size_t>(size_t(dst.st_size), size_t(64) << 20);
    std::string names;
    names.reserve(hint);
    std::vector<RawEntry> raw;
    raw.reserve(hint / 24);
    {
        std::unique_ptr<char[]> buf(new char[kDirentBuffer]);
        for (;;) {
            long got = ::syscall(SYS_getdents64, dfd, buf.get(), kDirentBuffer);
            if (got < 0) {
                if (errno == EINTR) continue;
                return std::unexpected(sys::error_text(errno));
            }
            if (got == 0) break;
            for (long off = 0; off < got;) {
                // glibc's dirent64 has the kernel's layout; readdir would hand these out from a
                // 32 KiB buffer, one call per entry.
                auto* d = reinterpret_cast<const struct dirent64*>(buf.get() + off);
                off += d->d_reclen;
                std::string_view name(d->d_name);
                if (name == "." || name == "..") continue;
                if (hidden == HiddenEntries::Skip && name.front() == '.') continue;
                raw.push_back(RawEntry{std::uint32_t(names.size()), std::uint32_t(name.size())});
                names.append(name).push_back('\0');
            }
        }
    }
    for_shares(raw.size(), [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i) {
            RawEntry& r = raw[i];
            struct stat st;
            if (::fstatat(dfd, names.data() + r.name_offset, &st, AT_SYMLINK_NOFOLLOW) == 0) {
                r.has_stat = true;
                r.size = std::uint64_t(st.st_size);
                r.seconds = std::int64_t(st.st_mtim.tv_sec);
                r.nanoseconds = std::uint32_t(st.st_mtim.tv_nsec);
                r.is_dir = S_ISDIR(st.st_mode);
            }
        }
    });

    auto raw_name = [&](const RawEntry& r) { return std::string_view(names.data() + r.name_offset, r.name_size); };
    // Entries are built in their final order, so nothing heavy moves afterwards.
    std::vector<std::uint32_t> sequence(raw.size());
    if (order) {
        // Sort keys are the UTF-8 names; only invalid ones need a replaced copy.
        std::vector<std::string> repaired;
        std::vector<std::uint32_t> repaired_at(raw.size(), UINT32_MAX);
        for (size_t i = 0; i < raw.size(); ++i)
            if (std::string_view n = raw_name(raw[i]); !is_ascii(n) && !text::is_valid_utf8(n)) {
                repaired_at[i] = std::uint32_t(repaired.size());
                repaired.push_back(text::lossy_utf8(n));
            }
        auto items = sort_order(raw.size(), order->key, order->descending, [&](size_t i) {
            const RawEntry& r = raw[i];
            std::string_view n = repaired_at[i] == UINT32_MAX ? raw_name(r) : std::string_view(repaired[repaired_at[i]]);
            std::optional<FileTime> t;
            if (r.has_stat) t = FileTime{r.seconds, r.nanoseconds};
            std::string_view type = order->key == SortKey::Type ? guess_mime_type(raw_name(r)) : std::string_view();
            return SortFields{n, type, r.size, t, r.is_dir};
        });
        for (size_t i = 0; i < items.size(); ++i) sequence[i] = items[i].index;
    } else {
        for (size_t i = 0; i < raw.size(); ++i) sequence[i] = std::uint32_t(i);
    }

    std::string prefix = folder.native();
    if (prefix.empty() || prefix.back() != '/') prefix += '/';
    std::vector<FolderEntry> out;
    out.reserve(raw.size());
    prefer_huge_pages(out.data(), raw.size() * sizeof(FolderEntry));
    out.resize(raw.size());
    for_shares(raw.size(), [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i) {
            const RawEntry& r = raw[sequence[i]];
            std::string_view name = raw_name(r);
            FolderEntry& e = out[i];
            e.name = text::lossy_utf8(name);
            std::string full;
            full.reserve(prefix.size() + name.size());
            full.append(prefix).append(name);
            e.path = path(std::move(full));
            e.type = guess_mime_type(name);
            if (r.has_stat) {
                e.size = r.size;
                e.modified = FileTime{r.seconds, r.nanoseconds};
                e.is_dir = r.is_dir;
            }
        }
    });
    // The document cache is not shared between threads; attributes are read in one pass.
    if (in_workspace) {
        for (FolderEntry& e : out) {
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

std::string full_lowercase(std::string_view utf8) { return i18n::full_lowercase(utf8); }

void sort_entries(std::vector<FolderEntry>& entries, SortKey key, bool descending) {
    auto items = sort_order(entries.size(), key, descending, [&](size_t i) {
        const FolderEntry& e = entries[i];
        return SortFields{e.name, e.type, e.size, e.modified, e.is_dir};
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

namespace {

HiddenEntries hidden_rule(const Listing& l) { return l.show_hidden ? HiddenEntries::Keep : HiddenEntries::Skip; }
EntryOrder order_of(const Listing& l) { return EntryOrder{l.sort_key, l.descending}; }

// The listing's entries for the target: a folder read already filtered and ordered, or an
// archive interior filtered and ordered after the read.
std::expected<std::vector<FolderEntry>, std::string> read_for_listing(Listing& l, const path& target,
                                                                      const std::optional<ArchiveLocation>& archive) {
    if (!archive) return read_folder(target, in_workspace(target), &l.documents, hidden_rule(l), order_of(l));
    auto read = read_archive_folder(*archive);
    if (read) {
        if (!l.show_hidden) remove_hidden(*read);
        sort_entries(*read, l.sort_key, l.descending);
    }
    return read;
}

}  // namespace

// GCC 12 reports the message argument's variant as maybe uninitialised once it is inlined here
// (a known false positive of that release); the i18n calls below are ordinary.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
std::optional<std::string> load_folder(Listing& l, const path& target) {
    l.loading = true;
    l.load_error.reset();
    std::optional<std::string> status;
    if (auto trash = trash_files_folder(); trash && path_within(target, *trash)) mkdir_private_all(*trash);

    auto archive = locate_archive(target);
    auto read = read_for_listing(l, target, archive);
    if (!read) {
        l.entries.clear();
        l.load_error = i18n::tr_args("files-directory-read-failed", i18n::MessageArgs().set("error", read.error()));
    } else {
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

    auto fresh = read_folder(l.current, in_workspace(l.current), &l.documents, hidden_rule(l), order_of(l));
    if (!fresh) return {};
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
#pragma GCC diagnostic pop

}  // namespace files::model

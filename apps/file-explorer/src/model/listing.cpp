#include "model/listing.hpp"

#include "i18n/i18n.hpp"
#include "model/utf8.hpp"
#include "model/workspace.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <string_view>

namespace files::model {

namespace {

struct MimeRow {
    std::string_view ext;
    std::string_view type;
};

// Sorted by extension for binary search.
constexpr std::array<MimeRow, 60> kMime{{
    {"7z", "application/x-7z-compressed"}, {"avi", "video/x-msvideo"}, {"bmp", "image/bmp"},
    {"c", "text/x-csrc"}, {"cpp", "text/x-c++src"}, {"css", "text/css"}, {"csv", "text/csv"},
    {"doc", "application/msword"},
    {"docx", "application/vnd.openxmlformats-officedocument.wordprocessingml.document"},
    {"epub", "application/epub+zip"}, {"flac", "audio/flac"}, {"gif", "image/gif"}, {"gz", "application/gzip"},
    {"h", "text/x-chdr"}, {"heic", "image/heic"}, {"hpp", "text/x-c++hdr"}, {"htm", "text/html"},
    {"html", "text/html"}, {"ico", "image/vnd.microsoft.icon"}, {"iso", "application/x-cd-image"},
    {"java", "text/x-java"}, {"jpeg", "image/jpeg"}, {"jpg", "image/jpeg"}, {"js", "text/javascript"},
    {"json", "application/json"}, {"md", "text/markdown"}, {"mkv", "video/x-matroska"}, {"mov", "video/quicktime"},
    {"mp3", "audio/mpeg"}, {"mp4", "video/mp4"}, {"odp", "application/vnd.oasis.opendocument.presentation"},
    {"ods", "application/vnd.oasis.opendocument.spreadsheet"}, {"odt", "application/vnd.oasis.opendocument.text"},
    {"ogg", "audio/ogg"}, {"otf", "font/otf"}, {"parquet", "application/vnd.apache.parquet"},
    {"pdf", "application/pdf"}, {"png", "image/png"},
    {"pptx", "application/vnd.openxmlformats-officedocument.presentationml.presentation"},
    {"py", "text/x-python"}, {"rs", "text/rust"}, {"sh", "application/x-shellscript"}, {"svg", "image/svg+xml"},
    {"tar", "application/x-tar"}, {"tgz", "application/x-compressed-tar"}, {"tif", "image/tiff"},
    {"tiff", "image/tiff"}, {"toml", "application/toml"}, {"ts", "text/x-typescript"}, {"ttf", "font/ttf"},
    {"txt", "text/plain"}, {"wav", "audio/x-wav"}, {"webm", "video/webm"}, {"webp", "image/webp"},
    {"woff2", "font/woff2"}, {"xls", "application/vnd.ms-excel"},
    {"xlsx", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"}, {"xml", "application/xml"},
    {"yaml", "application/yaml"}, {"zip", "application/zip"},
}};

constexpr bool sorted_table() {
    for (size_t i = 1; i < kMime.size(); ++i)
        if (!(kMime[i - 1].ext < kMime[i].ext)) return false;
    return true;
}
static_assert(sorted_table(), "keep the MIME table sorted");

}  // namespace

std::string guess_mime_type(const path& p) {
    std::string ext = p.extension().native();
    if (ext.size() < 2 || !text::is_valid_utf8(ext)) return "application/octet-stream";
    ext.erase(0, 1);
    std::string lower = ext;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    auto it = std::lower_bound(kMime.begin(), kMime.end(), lower,
                               [](const MimeRow& r, const std::string& e) { return r.ext < e; });
    if (it != kMime.end() && it->ext == lower) return std::string(it->type);
    return "application/octet-stream";
}

std::expected<std::vector<FolderEntry>, std::string> read_folder(const path& folder, bool /*in_workspace*/) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return std::unexpected(std::string(std::strerror(errno)));
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        int e = errno;
        ::close(fd);
        return std::unexpected(std::string(std::strerror(e)));
    }
    std::vector<FolderEntry> out;
    while (struct dirent* d = ::readdir(dir)) {
        std::string_view raw(d->d_name);
        if (raw == "." || raw == "..") continue;
        FolderEntry e;
        e.name = text::lossy_utf8(raw);
        e.path = folder / raw;
        e.type = guess_mime_type(e.path);
        struct stat st;
        if (::fstatat(fd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
            e.size = std::uint64_t(st.st_size);
            e.modified = FileTime{std::int64_t(st.st_mtim.tv_sec), std::uint32_t(st.st_mtim.tv_nsec)};
            e.is_dir = S_ISDIR(st.st_mode);
        }
        out.push_back(std::move(e));
    }
    ::closedir(dir);
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
    // Lower-case names once per sort; the order is the same as lower-casing in each comparison.
    std::vector<std::string> keys;
    if (key == SortKey::Name) {
        keys.reserve(entries.size());
        for (const auto& e : entries) keys.push_back(full_lowercase(e.name));
    }
    std::vector<size_t> idx(entries.size());
    std::iota(idx.begin(), idx.end(), 0);
    auto cmp_key = [&](size_t a, size_t b) -> int {
        const auto& x = entries[a];
        const auto& y = entries[b];
        switch (key) {
            case SortKey::Name: return keys[a].compare(keys[b]);
            case SortKey::Size: return x.size < y.size ? -1 : x.size > y.size ? 1 : 0;
            case SortKey::Modified:
                if (x.modified == y.modified) return 0;
                if (!x.modified) return -1;
                if (!y.modified) return 1;
                return *x.modified < *y.modified ? -1 : 1;
            case SortKey::Type: return x.type.compare(y.type);
        }
        return 0;
    };
    std::stable_sort(idx.begin(), idx.end(), [&](size_t a, size_t b) {
        if (entries[a].is_dir != entries[b].is_dir) return entries[a].is_dir;
        int c = cmp_key(a, b);
        return descending ? c > 0 : c < 0;
    });
    std::vector<FolderEntry> sorted;
    sorted.reserve(entries.size());
    for (size_t i : idx) sorted.push_back(std::move(entries[i]));
    entries = std::move(sorted);
}

std::chrono::milliseconds refresh_interval(size_t n) {
    using std::chrono::milliseconds;
    if (n <= 511) return milliseconds(750);
    if (n <= 4095) return milliseconds(3000);
    if (n <= 19999) return milliseconds(12000);
    return milliseconds(30000);
}

std::optional<std::string> load_folder(Listing& l, const path& target) {
    l.loading = true;
    l.load_error.reset();
    auto read = read_folder(target, in_workspace(target));
    if (!read) {
        l.entries.clear();
        l.load_error = i18n::tr_args("files-directory-read-failed", i18n::MessageArgs().set("error", read.error()));
    } else {
        if (!l.show_hidden) remove_hidden(*read);
        sort_entries(*read, l.sort_key, l.descending);
        l.entries = std::move(*read);
    }
    l.current = target;
    l.loading = false;
    ++l.load_generation;
    return std::nullopt;
}

}  // namespace files::model

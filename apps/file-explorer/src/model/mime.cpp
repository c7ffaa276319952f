#include "model/mime.hpp"

#include "model/utf8.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unordered_map>
#include <vector>

namespace files::model {

namespace {

constexpr std::string_view kOctetStream = "application/octet-stream";

struct MimeRow {
    std::string_view ext;
    std::string_view type;
};

// Sorted by extension for binary search.
constexpr std::array<MimeRow, 60> kBuiltin{{
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
    for (size_t i = 1; i < kBuiltin.size(); ++i)
        if (!(kBuiltin[i - 1].ext < kBuiltin[i].ext)) return false;
    return true;
}
static_assert(sorted_table(), "keep the MIME table sorted");

struct StringHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// Extensions are short; longer ones are compared unfolded (no glob is that long).
constexpr size_t kMaxFolded = 64;

std::string_view ascii_lower(std::string_view s, std::array<char, kMaxFolded>& buf) {
    if (s.size() > buf.size()) return s;
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        buf[i] = (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
    }
    return {buf.data(), s.size()};
}

std::string read_file(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) return {};
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

struct MimeGlobs::Table {
    struct Hit {
        int weight;
        std::string type;
    };
    // Case-insensitive globs by lower-case extension; "cs" globs by exact extension.
    std::unordered_map<std::string, Hit, StringHash, std::equal_to<>> folded, exact;
};

MimeGlobs::MimeGlobs() : table_(std::make_unique<Table>()) {}
MimeGlobs::~MimeGlobs() = default;
MimeGlobs::MimeGlobs(MimeGlobs&&) noexcept = default;
MimeGlobs& MimeGlobs::operator=(MimeGlobs&&) noexcept = default;

void MimeGlobs::add_globs2(std::string_view text) {
    // weight:type:glob[:flags[:...]]; only plain "*.ext" globs name an extension.
    for (size_t pos = 0; pos < text.size();) {
        size_t eol = text.find('\n', pos);
        if (eol == std::string_view::npos) eol = text.size();
        std::string_view line = text.substr(pos, eol - pos);
        pos = eol + 1;
        if (line.empty() || line.front() == '#') continue;
        size_t c1 = line.find(':');
        size_t c2 = c1 == std::string_view::npos ? c1 : line.find(':', c1 + 1);
        if (c2 == std::string_view::npos) continue;
        std::string_view weight_text = line.substr(0, c1), type = line.substr(c1 + 1, c2 - c1 - 1);
        std::string_view glob = line.substr(c2 + 1), flags;
        if (size_t c3 = glob.find(':'); c3 != std::string_view::npos) {
            flags = glob.substr(c3 + 1);
            glob = glob.substr(0, c3);
        }
        if (!glob.starts_with("*.") || glob.size() < 3 || type.empty() || weight_text.empty()) continue;
        std::string_view ext = glob.substr(2);
        if (ext.find_first_of("*?[.") != std::string_view::npos) continue;
        int weight = 0;
        bool digits = true;
        for (char c : weight_text) {
            digits = digits && c >= '0' && c <= '9' && weight < 100000;
            if (digits) weight = weight * 10 + (c - '0');
        }
        if (!digits) continue;
        bool case_sensitive = flags.substr(0, flags.find(':')).find("cs") != std::string_view::npos;
        std::array<char, kMaxFolded> buf;
        std::string key(case_sensitive ? ext : ascii_lower(ext, buf));
        auto& map = case_sensitive ? table_->exact : table_->folded;
        auto [it, inserted] = map.try_emplace(std::move(key), Table::Hit{weight, std::string(type)});
        if (!inserted && weight > it->second.weight) it->second = Table::Hit{weight, std::string(type)};
    }
}

MimeGlobs MimeGlobs::from_system() {
    std::vector<std::filesystem::path> dirs;
    const char* home = std::getenv("XDG_DATA_HOME");
    if (home && *home == '/') dirs.emplace_back(home);
    else if (const char* h = std::getenv("HOME"); h && *h == '/') dirs.push_back(std::filesystem::path(h) / ".local/share");
    std::string_view list = "/usr/local/share:/usr/share";
    if (const char* d = std::getenv("XDG_DATA_DIRS"); d && *d) list = d;
    for (size_t pos = 0; pos <= list.size();) {
        size_t end = std::min(list.find(':', pos), list.size());
        if (std::string_view item = list.substr(pos, end - pos); !item.empty() && item.front() == '/')
            dirs.emplace_back(item);
        pos = end + 1;
    }
    MimeGlobs g;
    for (const auto& d : dirs) g.add_globs2(read_file(d / "mime/globs2"));
    return g;
}

bool MimeGlobs::empty() const { return table_->folded.empty() && table_->exact.empty(); }

std::string_view MimeGlobs::lookup(std::string_view ext) const {
    if (auto it = table_->exact.find(ext); it != table_->exact.end()) return it->second.type;
    std::array<char, kMaxFolded> buf;
    if (auto it = table_->folded.find(ascii_lower(ext, buf)); it != table_->folded.end()) return it->second.type;
    return {};
}

std::string_view builtin_mime_type(std::string_view ext) {
    std::array<char, kMaxFolded> buf;
    std::string_view lower = ascii_lower(ext, buf);
    auto it = std::lower_bound(kBuiltin.begin(), kBuiltin.end(), lower,
                               [](const MimeRow& r, std::string_view e) { return r.ext < e; });
    if (it != kBuiltin.end() && it->ext == lower) return it->type;
    return {};
}

std::string_view guess_mime_type(std::string_view name) {
    // The extension as std::filesystem defines it: after the last dot, unless that dot leads.
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size()) return kOctetStream;
    std::string_view ext = name.substr(dot + 1);
    if (!text::is_valid_utf8(ext)) return kOctetStream;
    static const MimeGlobs system = MimeGlobs::from_system();
    std::string_view t = system.empty() ? builtin_mime_type(ext) : system.lookup(ext);
    return t.empty() ? kOctetStream : t;
}

std::string guess_mime_type(const std::filesystem::path& p) {
    return std::string(guess_mime_type(std::string_view(p.filename().native())));
}

}  // namespace files::model

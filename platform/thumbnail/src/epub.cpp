// The cover image of an EPUB: container.xml names the package document, whose manifest
// marks the cover (EPUB 3 "cover-image", or EPUB 2 <meta name="cover">); else the first
// image in the archive.
#include "decode.hpp"

#ifdef THUMBNAIL_HAVE_EPUB
#include <archive.h>
#include <archive_entry.h>
#include <locale.h>
#include <pugixml.hpp>

#include <cctype>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>
#endif

namespace thumbnail::detail {

#ifdef THUMBNAIL_HAVE_EPUB
namespace {

constexpr std::size_t max_xml = 1 << 20;
constexpr std::size_t max_cover = 32 << 20;
constexpr int max_entries = 20000;

// libarchive gives empty names for UTF-8 members without a UTF-8 character type.
class Utf8Locale {
public:
    Utf8Locale() : loc_(::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0))) {
        if (loc_) old_ = ::uselocale(loc_);
    }
    ~Utf8Locale() {
        if (loc_) {
            ::uselocale(old_);
            ::freelocale(loc_);
        }
    }
    Utf8Locale(const Utf8Locale&) = delete;
    Utf8Locale& operator=(const Utf8Locale&) = delete;

private:
    locale_t loc_;
    locale_t old_ = static_cast<locale_t>(0);
};

struct ArchiveDeleter {
    void operator()(archive* a) const { archive_read_free(a); }
};
using Archive = std::unique_ptr<archive, ArchiveDeleter>;

Archive open_zip(const std::filesystem::path& path) {
    Archive a(archive_read_new());
    if (!a) return nullptr;
    archive_read_support_format_zip(a.get());
    if (archive_read_open_filename(a.get(), path.c_str(), 1 << 16) != ARCHIVE_OK) return nullptr;
    return a;
}

std::string entry_name(archive_entry* e) {
    const char* n = archive_entry_pathname_utf8(e);
    if (!n) n = archive_entry_pathname(e);
    return n ? std::string(n) : std::string();
}

std::optional<std::string> read_member(archive* a, std::size_t limit) {
    std::string out;
    char buf[1 << 16];
    for (;;) {
        const la_ssize_t n = archive_read_data(a, buf, sizeof buf);
        if (n < 0) return std::nullopt;
        if (n == 0) return out;
        if (out.size() + static_cast<std::size_t>(n) > limit) return std::nullopt;
        out.append(buf, static_cast<std::size_t>(n));
    }
}

bool is_image_name(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    std::string ext(name.substr(dot + 1));
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == "png" || ext == "jpg" || ext == "jpeg" || ext == "gif" || ext == "webp" ||
           ext == "bmp";
}

std::string_view local_name(const char* qualified) {
    std::string_view n(qualified);
    const auto colon = n.find(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

template <class F>
void each_element(pugi::xml_node node, const F& f) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        f(child);
        each_element(child, f);
    }
}

bool has_token(std::string_view list, std::string_view token) {
    std::istringstream in{std::string(list)};
    std::string word;
    while (in >> word)
        if (word == token) return true;
    return false;
}

std::string percent_decode(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            out.push_back(static_cast<char>(std::stoi(std::string(s.substr(i + 1, 2)), nullptr, 16)));
            i += 2;
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

// `href` relative to the folder of `base`, with "." and ".." folded; empty if it escapes.
std::string resolve(std::string_view base, std::string_view href) {
    std::string rel = percent_decode(href.substr(0, href.find_first_of("#?")));
    std::vector<std::string> parts;
    const auto slash = base.rfind('/');
    std::string joined =
        rel.starts_with('/') ? rel.substr(1)
                             : (slash == std::string_view::npos ? "" : std::string(base.substr(0, slash + 1))) + rel;
    std::size_t start = 0;
    while (start <= joined.size()) {
        auto end = joined.find('/', start);
        if (end == std::string::npos) end = joined.size();
        std::string part = joined.substr(start, end - start);
        if (part == "..") {
            if (parts.empty()) return {};
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (const auto& p : parts) out += (out.empty() ? "" : "/") + p;
    return out;
}

std::string cover_href(const std::string& opf) {
    pugi::xml_document doc;
    if (!doc.load_buffer(opf.data(), opf.size())) return {};
    std::string cover_id;
    std::map<std::string, std::pair<std::string, std::string>> items;  // id -> href, type
    std::string by_property, first_image;
    each_element(doc, [&](pugi::xml_node n) {
        const auto name = local_name(n.name());
        if (name == "meta" && std::string_view(n.attribute("name").value()) == "cover")
            cover_id = n.attribute("content").value();
        if (name != "item") return;
        const std::string href = n.attribute("href").value();
        const std::string type = n.attribute("media-type").value();
        if (href.empty()) return;
        items[n.attribute("id").value()] = {href, type};
        const bool image = std::string_view(type).starts_with("image/") && type != "image/svg+xml";
        if (by_property.empty() && image && has_token(n.attribute("properties").value(), "cover-image"))
            by_property = href;
        if (first_image.empty() && image) first_image = href;
    });
    if (!by_property.empty()) return by_property;
    if (auto it = items.find(cover_id); !cover_id.empty() && it != items.end() &&
                                        std::string_view(it->second.second).starts_with("image/"))
        return it->second.first;
    for (const char* id : {"cover", "cover-image"})
        if (auto it = items.find(id); it != items.end() &&
                                     std::string_view(it->second.second).starts_with("image/"))
            return it->second.first;
    return first_image;
}

std::string rootfile_path(const std::string& container) {
    pugi::xml_document doc;
    if (!doc.load_buffer(container.data(), container.size())) return {};
    std::string path;
    each_element(doc, [&](pugi::xml_node n) {
        if (path.empty() && local_name(n.name()) == "rootfile") path = n.attribute("full-path").value();
    });
    return path;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> epub_cover(const std::filesystem::path& path) {
    Utf8Locale utf8;
    std::optional<std::string> container;
    std::map<std::string, std::string> packages;
    std::string first_image;
    {
        Archive a = open_zip(path);
        if (!a) return std::nullopt;
        archive_entry* e = nullptr;
        for (int i = 0; i < max_entries && archive_read_next_header(a.get(), &e) == ARCHIVE_OK; ++i) {
            const std::string name = entry_name(e);
            if (name == "META-INF/container.xml") {
                container = read_member(a.get(), max_xml);
            } else if (name.ends_with(".opf") && packages.size() < 8) {
                if (auto body = read_member(a.get(), max_xml)) packages[name] = std::move(*body);
            } else if (first_image.empty() && is_image_name(name)) {
                first_image = name;
            }
        }
    }
    std::string target;
    if (container) {
        const std::string opf = rootfile_path(*container);
        if (auto it = packages.find(opf); it != packages.end()) {
            const std::string href = cover_href(it->second);
            if (!href.empty()) target = resolve(opf, href);
        }
    }
    if (target.empty()) target = first_image;
    if (target.empty()) return std::nullopt;

    Archive a = open_zip(path);
    if (!a) return std::nullopt;
    archive_entry* e = nullptr;
    for (int i = 0; i < max_entries && archive_read_next_header(a.get(), &e) == ARCHIVE_OK; ++i) {
        if (entry_name(e) != target) continue;
        auto body = read_member(a.get(), max_cover);
        if (!body) return std::nullopt;
        return std::vector<std::uint8_t>(body->begin(), body->end());
    }
    return std::nullopt;
}
#else
std::optional<std::vector<std::uint8_t>> epub_cover(const std::filesystem::path&) { return std::nullopt; }
#endif

}  // namespace thumbnail::detail

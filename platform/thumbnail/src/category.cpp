#include <string>
#include <string_view>
#include <utility>

#include "thumbnail/category.hpp"

namespace thumbnail::category {
namespace {

struct Row {
    std::string_view ext;
    Category category;
};

// Sorted by extension for binary search.
constexpr Row table[] = {
    {"7z", Category::Archive},      {"aac", Category::Audio},
    {"ai", Category::Image},        {"aiff", Category::Audio},
    {"apng", Category::Image},      {"avi", Category::Video},
    {"avif", Category::Image},      {"azw3", Category::Ebook},
    {"bash", Category::Code},       {"bmp", Category::Image},
    {"bz2", Category::Archive},     {"c", Category::Code},
    {"cc", Category::Code},         {"cfg", Category::Code},
    {"conf", Category::Code},       {"cpp", Category::Code},
    {"cs", Category::Code},         {"css", Category::Code},
    {"csv", Category::Spreadsheet}, {"cxx", Category::Code},
    {"deb", Category::Archive},     {"dmg", Category::Archive},
    {"doc", Category::Document},    {"docx", Category::Document},
    {"eot", Category::Font},        {"epub", Category::Ebook},
    {"fb2", Category::Ebook},       {"flac", Category::Audio},
    {"gif", Category::Image},       {"go", Category::Code},
    {"gz", Category::Archive},      {"h", Category::Code},
    {"heic", Category::Image},      {"heif", Category::Image},
    {"hh", Category::Code},         {"hpp", Category::Code},
    {"htm", Category::Code},        {"html", Category::Code},
    {"ico", Category::Image},       {"ini", Category::Code},
    {"iso", Category::Archive},     {"java", Category::Code},
    {"jpeg", Category::Image},      {"jpg", Category::Image},
    {"js", Category::Code},         {"json", Category::Code},
    {"jsx", Category::Code},        {"key", Category::Presentation},
    {"kt", Category::Code},         {"log", Category::Text},
    {"lua", Category::Code},        {"lz", Category::Archive},
    {"lzma", Category::Archive},    {"m4a", Category::Audio},
    {"m4v", Category::Video},       {"markdown", Category::Text},
    {"md", Category::Text},         {"mkv", Category::Video},
    {"mobi", Category::Ebook},      {"mov", Category::Video},
    {"mp3", Category::Audio},       {"mp4", Category::Video},
    {"mpeg", Category::Video},      {"mpg", Category::Video},
    {"numbers", Category::Spreadsheet}, {"odp", Category::Presentation},
    {"ods", Category::Spreadsheet}, {"odt", Category::Document},
    {"oga", Category::Audio},       {"ogg", Category::Audio},
    {"ogv", Category::Video},       {"opus", Category::Audio},
    {"otf", Category::Font},        {"pages", Category::Document},
    {"pdf", Category::Pdf},         {"php", Category::Code},
    {"pl", Category::Code},         {"png", Category::Image},
    {"ppt", Category::Presentation}, {"pptx", Category::Presentation},
    {"psd", Category::Image},       {"py", Category::Code},
    {"rar", Category::Archive},     {"rb", Category::Code},
    {"rs", Category::Code},         {"rst", Category::Text},
    {"rtf", Category::Document},    {"sh", Category::Code},
    {"sql", Category::Code},        {"svg", Category::Image},
    {"swift", Category::Code},      {"tar", Category::Archive},
    {"tgz", Category::Archive},     {"tif", Category::Image},
    {"tiff", Category::Image},      {"toml", Category::Code},
    {"ts", Category::Code},         {"tsv", Category::Spreadsheet},
    {"tsx", Category::Code},        {"ttc", Category::Font},
    {"ttf", Category::Font},        {"txt", Category::Text},
    {"wav", Category::Audio},       {"webm", Category::Video},
    {"webp", Category::Image},      {"wma", Category::Audio},
    {"wmv", Category::Video},       {"woff", Category::Font},
    {"woff2", Category::Font},      {"xls", Category::Spreadsheet},
    {"xlsx", Category::Spreadsheet}, {"xml", Category::Code},
    {"xz", Category::Archive},      {"yaml", Category::Code},
    {"yml", Category::Code},        {"zip", Category::Archive},
    {"zsh", Category::Code},        {"zst", Category::Archive},
};

constexpr bool table_sorted() {
    for (std::size_t i = 1; i < std::size(table); ++i)
        if (!(table[i - 1].ext < table[i].ext)) return false;
    return true;
}
static_assert(table_sorted());

}  // namespace

std::uint8_t category_for_path(const std::filesystem::path& path) {
    const std::string name = path.filename().native();
    const auto dot = name.rfind('.');
    // A leading dot names a hidden file, not an extension.
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size() || name.size() - dot > 10)
        return std::to_underlying(Category::Other);
    std::string ext = name.substr(dot + 1);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    std::size_t lo = 0, hi = std::size(table);
    while (lo < hi) {
        std::size_t mid = (lo + hi) / 2;
        if (table[mid].ext < ext) lo = mid + 1;
        else hi = mid;
    }
    if (lo < std::size(table) && table[lo].ext == ext) return std::to_underlying(table[lo].category);
    return std::to_underlying(Category::Other);
}

}  // namespace thumbnail::category

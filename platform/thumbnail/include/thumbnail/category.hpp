#pragma once
// The kind of a file by its name, for the placeholder card's colour and the service.
#include <cstdint>
#include <filesystem>

namespace thumbnail::category {

// The numbers index the placeholder card's 13 colours, so they never change.
enum class Category : std::uint8_t {
    Image = 0,         // green
    Video = 1,         // purple
    Audio = 2,         // pink
    Pdf = 3,           // red
    Archive = 4,       // amber
    Document = 5,      // blue: word processing, rich text
    Spreadsheet = 6,   // green: sheets, CSV
    Presentation = 7,  // orange
    Ebook = 8,         // brown
    Code = 9,          // teal: sources, scripts, structured data
    Text = 10,         // grey: plain text, Markdown, logs
    Font = 11,         // violet
    Other = 12,        // light grey: no extension or unknown
};
inline constexpr std::uint8_t category_count = 13;

// By the extension only (ASCII case-insensitive); never touches the file.
std::uint8_t category_for_path(const std::filesystem::path& path);

}  // namespace thumbnail::category

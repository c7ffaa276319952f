#pragma once
#include <orvo_ui/geometry.hpp>

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace orvo_ui {
class Painter;
}

namespace orvo_ui::icons {

// The built-in set, drawn as vectors so they stay crisp at every scale.
enum class Builtin {
    Folder, FolderOpen, File, Text, Image, Audio, Video, Archive, Pdf, Code, Spreadsheet, Presentation,
    Document, Font, Executable, Link,
    Home, Drive, Trash, TrashFull, Desktop, Documents, Downloads, Music, Pictures, Videos, Network, Cloud,
    Back, Forward, Up, Sort, SortAscending, SortDescending, Menu, Extract, Close, Search, Grid, List,
    Plus, Check, Warning, Error, Refresh, Star, Share,
};

// An icon: a built-in shape and, when known, the freedesktop icon name that an installed icon
// theme may draw instead.
struct Icon {
    Builtin builtin = Builtin::File;
    std::string theme_name;  // e.g. "text-x-generic"; empty for UI glyphs
    // The freedesktop generic name tried when the theme lacks theme_name ("text-x-generic" for
    // "text-x-python"); empty when the built-in shape reads better than the generic one.
    std::string generic_name;
};

// The icon for a path: folders by their user-directory role, files by extension.
Icon icon_for_path(const std::filesystem::path& path, bool is_dir);
Icon icon_for_mime(std::string_view mime, bool is_dir);
Icon builtin(Builtin b);

enum class Source { Auto, BuiltinOnly };

// Draws the icon into the square part of rect. Glyph icons use color; file-kind icons carry
// their own colours. With Source::Auto a theme icon of that name is used when one is installed.
void draw_icon(Painter& p, const Icon& icon, const Rect& rect, Color color, Source source = Source::Auto);

// True when an installed icon theme provides this name.
bool theme_has(std::string_view name);

// Every built-in shape, in declaration order (for pickers, previews and tests).
std::span<const Builtin> all_builtins();
// A stable lower-case name for the shape ("folder-open", "sort-ascending").
std::string_view builtin_name(Builtin b);
// Shapes drawn in the colour handed to draw_icon; the others carry their own palette.
bool is_glyph(Builtin b);

}  // namespace orvo_ui::icons

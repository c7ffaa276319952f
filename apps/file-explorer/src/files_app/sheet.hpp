#pragma once
// The one modal panel: confirmations, the shortcuts reference, collaboration details.
#include <orvo_ui/geometry.hpp>

#include <optional>
#include <string>
#include <vector>

#include "files_app/commands.hpp"

namespace files::app {

// A sheet with a kind has a confirming button with this label.
struct SheetKind {
    std::string button_label;
    bool destructive = false;
};

struct Sheet {
    std::string title;
    std::string summary;
    std::vector<std::string> details;
    std::optional<std::string> loss;
    std::optional<FileCommand> confirm;
    std::optional<SheetKind> kind;
    bool confirmation = false;  // announced as a dialog rather than a details panel
};

struct SheetGeometry {
    orvo_ui::Rect panel;
    orvo_ui::Rect title;
    orvo_ui::Rect summary;
    struct Line {
        orvo_ui::Rect bullet;
        orvo_ui::Rect text;
    };
    std::vector<Line> lines;
    std::optional<orvo_ui::Rect> button;
    orvo_ui::Rect close;
    orvo_ui::Rect close_hit;
};

// Centred in the content area; lengths in logical pixels.
SheetGeometry sheet_geometry(const orvo_ui::Rect& content, std::size_t detail_count, bool has_kind,
                             float line_height);

Sheet shortcuts_sheet();

}  // namespace files::app

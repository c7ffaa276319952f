#pragma once
// What the collaboration attributes of an entry mean for its row: badge, conflict mark and the
// sentences a screen reader hears.
#include <orvo_ui/geometry.hpp>
#include <orvo_ui/theme.hpp>

#include <string>
#include <vector>

#include "model/listing.hpp"

namespace orvo_ui {
class Painter;
}

namespace files::views {

bool has_open_conflict(const model::FolderEntry& e);
// With an availability record: resident; without: a sync state of Local or none.
bool content_is_local(const model::FolderEntry& e);
// Availability, then sharing, then conflict sentences, in that order.
std::vector<std::string> collab_sentences(const model::FolderEntry& e);

// The availability badge when there is a record, else the sync badge; nothing for neither.
void draw_collab_badge(orvo_ui::Painter& p, const orvo_ui::Theme& theme, const orvo_ui::Rect& icon,
                       const model::FolderEntry& e);

}  // namespace files::views

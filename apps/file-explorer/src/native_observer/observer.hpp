#pragma once
// What the window shows, as one JSON object, for automation that cannot read pixels.
#include <string>
#include <vector>

#include "model/listing.hpp"

namespace files::app {
class FileExplorerWidget;
}

namespace files::native_observer {

// SHA-256 over each entry's name length (u64 little-endian), name bytes and directory byte.
std::string order_hash(const std::vector<model::FolderEntry>& entries);

std::string observer_snapshot(const app::FileExplorerWidget& w);

}  // namespace files::native_observer

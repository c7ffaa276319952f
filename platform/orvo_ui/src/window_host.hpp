#pragma once
#include <orvo_ui/launch.hpp>

#include <memory>

namespace orvo_ui {
class Widget;
namespace persist { class Document; }

// Shows the root widget in one top-level window and runs the event loop until it closes.
int run_window(const launch::LaunchDescriptor& d, std::unique_ptr<Widget> root, persist::Document* doc);
}  // namespace orvo_ui

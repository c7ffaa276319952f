#pragma once
#include <orvo_ui/launch.hpp>

#include <expected>
#include <memory>
#include <string>

namespace orvo_ui {
class Widget;
namespace persist { class Document; }

// Shows the root widget in one top-level window and runs the event loop until it closes; the
// error is why the window could not start (the observer socket, for one).
std::expected<int, std::string> run_window(const launch::LaunchDescriptor& d, const launch::LaunchArgs& args,
                                           std::unique_ptr<Widget> root, persist::Document* doc);
}  // namespace orvo_ui

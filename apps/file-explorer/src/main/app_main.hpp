#pragma once
// The program's entry points: the launch descriptor, the builder, the persisted-document opener
// and the screenshot renderer.
#include <orvo_ui/launch.hpp>
#include <orvo_ui/persist.hpp>

#include <expected>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "files_app/files_app.hpp"

namespace files::startup {

using orvo_ui::launch::LaunchArgs;
using orvo_ui::launch::LaunchError;

orvo_ui::launch::LaunchDescriptor descriptor();

// The interactive builder; reads the share link from standard input when asked.
std::expected<std::unique_ptr<orvo_ui::Widget>, LaunchError> build_app(const LaunchArgs& args);
// The same with the descriptor standard input is read from, for tests.
std::expected<std::unique_ptr<app::FileExplorerWidget>, LaunchError> build_root(const LaunchArgs& args, int stdin_fd);

std::unique_ptr<orvo_ui::persist::Document> open_persisted_document();
// ZEMRA_APP_ID, else "files-" and ORVO_USER_ID, else "files-" and 12 hex digits of the author id.
std::string choose_author_name(const char* zemra_app_id, const char* orvo_user_id, std::string_view author_hex);

std::expected<void, LaunchError> render_shot(const LaunchArgs& args);
// "W" "x" "H", each side trimmed, unsigned 32-bit, an optional leading "+".
std::optional<orvo_ui::Size> parse_frame_size(std::string_view text);

}  // namespace files::startup

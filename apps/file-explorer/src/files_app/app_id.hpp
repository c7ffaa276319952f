#pragma once
#include <string_view>

namespace files::app {
inline constexpr std::string_view kAppId = "org.orvo.FileExplorer";
inline constexpr std::string_view kAppName = "orvo-files";
}  // namespace files::app

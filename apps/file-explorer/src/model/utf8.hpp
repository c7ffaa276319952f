#pragma once
#include <string>
#include <string_view>

namespace files::text {

// The bytes as UTF-8, each invalid sequence replaced by U+FFFD.
std::string lossy_utf8(std::string_view bytes);
bool is_valid_utf8(std::string_view bytes);

}  // namespace files::text

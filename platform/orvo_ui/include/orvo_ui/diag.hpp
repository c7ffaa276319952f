#pragma once
#include <string_view>

namespace orvo_ui::diag {
// One line on standard error, whole even when threads race.
void write_line(std::string_view line);
}  // namespace orvo_ui::diag

#pragma once
#include <chrono>

namespace orvo_ui::gesture {
// The desktop's double-click interval when the platform reports one, else 400 ms.
std::chrono::milliseconds multi_click_interval();
}  // namespace orvo_ui::gesture

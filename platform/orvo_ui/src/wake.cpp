#include <orvo_ui/wake.hpp>

namespace orvo_ui {

Waker::Waker(std::function<void()> fn) : slot_(std::make_shared<Slot>()) { slot_->fn = std::move(fn); }

void Waker::wake() const {
    if (!slot_) return;
    std::lock_guard lock(slot_->mutex);
    if (slot_->fn) slot_->fn();
}

void Waker::disconnect() const {
    if (!slot_) return;
    std::lock_guard lock(slot_->mutex);
    slot_->fn = nullptr;
}

}  // namespace orvo_ui

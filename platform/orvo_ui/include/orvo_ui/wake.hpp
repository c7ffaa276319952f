#pragma once
#include <functional>
#include <memory>
#include <mutex>

namespace orvo_ui {

// Asks the UI thread to run its update. Safe to copy and to call from any thread, also after
// the window has gone (then it does nothing).
class Waker {
public:
    Waker() = default;
    explicit Waker(std::function<void()> fn);
    void wake() const;
    // Detaches every copy from the window; later wake() calls do nothing.
    void disconnect() const;

private:
    struct Slot {
        std::mutex mutex;
        std::function<void()> fn;
    };
    std::shared_ptr<Slot> slot_;
};

}  // namespace orvo_ui

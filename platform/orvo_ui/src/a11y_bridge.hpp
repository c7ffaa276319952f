#pragma once
// Exports a root widget's accessibility tree through Qt's accessibility interfaces, so AT-SPI
// clients see the window, its root node and every child node.
#include <functional>
#include <memory>
#include <string_view>

class QAccessibleInterface;
class QWindow;

namespace orvo_ui {

class Widget;

class AccessBridge {
public:
    // Performs a node's action for an assistive technology; true when it was performed.
    using ActionFn = std::function<bool(std::string_view node_id, std::string_view action)>;

    // The window and the root widget must outlive the bridge.
    AccessBridge(QWindow& window, const Widget& root, ActionFn act);
    ~AccessBridge();
    AccessBridge(const AccessBridge&) = delete;
    AccessBridge& operator=(const AccessBridge&) = delete;

    // Call after each frame: with an assistive technology listening, the tree is rebuilt and
    // compared with the last one exported; otherwise it is only marked out of date.
    void frame_done();

    // What the window answers as its accessible root: Qt lists a window only through it.
    QAccessibleInterface* window_interface() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace orvo_ui

#include "a11y_bridge.hpp"

#include <orvo_ui/a11y.hpp>
#include <orvo_ui/widget.hpp>

#include <QAccessible>
#include <QAccessibleObject>
#include <QGuiApplication>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace orvo_ui {

using a11y::AccessNode;
using a11y::Role;

namespace {

// Where a node sits: keys are paths of ids (index where a sibling has no id or a duplicate one),
// so an interface keeps naming the same node while rows come and go around it. The root's key
// is empty.
struct Slot {
    const AccessNode* node = nullptr;
    std::string parent;
    std::vector<std::string> children;
};

QAccessible::Role qt_role(Role r) {
    switch (r) {
        // Application is reserved for the application object itself in Qt's AT-SPI bridge.
        case Role::Application: return QAccessible::Pane;
        case Role::Window: return QAccessible::Window;
        case Role::Panel: return QAccessible::Pane;
        case Role::List: return QAccessible::List;
        case Role::ListItem: return QAccessible::ListItem;
        case Role::Table: return QAccessible::Table;
        case Role::Row: return QAccessible::Row;
        case Role::Cell: return QAccessible::Cell;
        case Role::Button: return QAccessible::Button;
        case Role::Label: return QAccessible::StaticText;
        case Role::TextInput: return QAccessible::EditableText;
        case Role::Dialog: return QAccessible::Dialog;
        case Role::Menu: return QAccessible::PopupMenu;
        case Role::MenuItem: return QAccessible::MenuItem;
        case Role::Toolbar: return QAccessible::ToolBar;
        case Role::StatusBar: return QAccessible::StatusBar;
        case Role::ProgressIndicator: return QAccessible::ProgressBar;
        case Role::Image: return QAccessible::Graphic;
        case Role::Group: return QAccessible::Grouping;
        case Role::Tree: return QAccessible::Tree;
        case Role::TreeItem: return QAccessible::TreeItem;
    }
    return QAccessible::Grouping;
}

QAccessible::State qt_state(const AccessNode& n) {
    QAccessible::State s;
    s.focused = n.states.focused;
    s.focusable = n.states.focusable || n.states.focused;
    s.selected = n.states.selected;
    s.selectable = n.states.selectable || n.states.selected;
    s.busy = n.states.busy;
    s.disabled = n.states.disabled;
    s.expanded = n.states.expanded;
    s.expandable = n.states.expanded;
    s.checked = n.states.checked;
    s.checkable = n.states.checked;
    s.readOnly = n.role != Role::TextInput && !n.value.empty();
    return s;
}

// The state bits that differ between two nodes.
QAccessible::State changed_states(const AccessNode& a, const AccessNode& b) {
    QAccessible::State s;
    const auto& x = a.states;
    const auto& y = b.states;
    s.focused = x.focused != y.focused;
    s.focusable = x.focusable != y.focusable;
    s.selected = x.selected != y.selected;
    s.selectable = x.selectable != y.selectable;
    s.busy = x.busy != y.busy;
    s.disabled = x.disabled != y.disabled;
    s.expanded = x.expanded != y.expanded;
    s.checked = x.checked != y.checked;
    return s;
}

// Our action names against Qt's standard ones, which AT-SPI clients know.
struct ActionName {
    const char* ours;
    const QString& (*qt)();
};
constexpr ActionName kActions[] = {
    {"activate", &QAccessibleActionInterface::pressAction},
    {"press", &QAccessibleActionInterface::pressAction},
    {"focus", &QAccessibleActionInterface::setFocusAction},
    {"toggle", &QAccessibleActionInterface::toggleAction},
    {"increase", &QAccessibleActionInterface::increaseAction},
    {"decrease", &QAccessibleActionInterface::decreaseAction},
    {"show_menu", &QAccessibleActionInterface::showMenuAction},
};

QString qt_action(const std::string& ours) {
    for (const auto& a : kActions)
        if (ours == a.ours) return a.qt();
    return QString::fromStdString(ours);
}

struct Registry {
    QWindow* window;
    AccessBridge::Impl* impl;
};
// Touched on the UI thread only.
std::vector<Registry>& registry() {
    static std::vector<Registry> r;
    return r;
}

AccessBridge::Impl* impl_for(const QWindow* w) {
    for (const auto& r : registry())
        if (r.window == w) return r.impl;
    return nullptr;
}

QAccessibleInterface* factory(const QString&, QObject* object);

}  // namespace

struct AccessBridge::Impl {
    QWindow& window;
    const Widget& root;
    ActionFn act;

    std::unique_ptr<AccessNode> tree;  // a stable address: places point into it
    std::unordered_map<std::string, Slot> places;
    bool stale = true;
    // Interfaces handed to Qt (which owns them), by key; they outlive the nodes they name
    // until the next frame, so a query in flight never meets a deleted interface.
    std::unordered_map<std::string, QAccessible::Id> ifaces;
    std::optional<std::string> focused_key;

    Impl(QWindow& w, const Widget& r, ActionFn a) : window(w), root(r), act(std::move(a)) {}

    void index(const AccessNode& n, const std::string& key, const std::string& parent) {
        Slot& s = places[key];
        s.node = &n;
        s.parent = parent;
        s.children.reserve(n.children.size());
        for (size_t i = 0; i < n.children.size(); ++i) {
            const AccessNode& c = n.children[i];
            std::string seg = c.id.empty() ? "#" + std::to_string(i) : c.id;
            std::string k = key.empty() ? seg : key + "/" + seg;
            if (places.contains(k)) k += "#" + std::to_string(i);
            s.children.push_back(k);
            index(c, s.children.back(), key);
        }
    }

    // Returns the previous tree so the caller can compare.
    std::pair<std::unique_ptr<AccessNode>, std::unordered_map<std::string, Slot>> rebuild() {
        auto old = std::make_pair(std::move(tree), std::move(places));
        places = {};
        if (auto n = root.access_node()) {
            tree = std::make_unique<AccessNode>(std::move(*n));
            index(*tree, {}, {});
        }
        stale = false;
        return old;
    }

    const Slot* slot(const std::string& key) {
        if (stale) (void)rebuild();
        auto it = places.find(key);
        return it == places.end() ? nullptr : &it->second;
    }

    const AccessNode* node(const std::string& key) {
        const Slot* s = slot(key);
        return s ? s->node : nullptr;
    }

    QAccessibleInterface* iface_for(const std::string& key);

    QAccessibleInterface* window_iface() { return QAccessible::queryAccessibleInterface(&window); }

    QRect to_screen(const Rect& r) const {
        if (!std::isfinite(r.left) || !std::isfinite(r.top) || !std::isfinite(r.right) || !std::isfinite(r.bottom))
            return {};
        // Rows scrolled far away still convert to int without overflow.
        auto px = [](float v) { return int(std::lround(std::clamp(v, -1e6f, 1e6f))); };
        QPoint tl = window.mapToGlobal(QPoint(px(r.left), px(r.top)));
        return QRect(tl, QSize(std::max(0, px(r.right) - px(r.left)), std::max(0, px(r.bottom) - px(r.top))));
    }

    // The deepest focused node along the first focused branch.
    std::optional<std::string> find_focused() const {
        std::optional<std::string> found;
        std::string key;
        for (;;) {
            auto it = places.find(key);
            if (it == places.end()) return found;
            if (it->second.node->states.focused) found = key;
            const std::string* next = nullptr;
            for (const auto& c : it->second.children)
                if (has_focus_below(c)) {
                    next = &c;
                    break;
                }
            if (!next) return found;
            key = *next;
        }
    }
    bool has_focus_below(const std::string& key) const {
        auto it = places.find(key);
        if (it == places.end()) return false;
        if (it->second.node->states.focused) return true;
        for (const auto& c : it->second.children)
            if (has_focus_below(c)) return true;
        return false;
    }

    void frame_done();
    void send(QAccessibleEvent& ev) { QAccessible::updateAccessibility(&ev); }
};

namespace {

class NodeIface final : public QAccessibleInterface,
                        public QAccessibleTextInterface,
                        public QAccessibleActionInterface {
public:
    NodeIface(AccessBridge::Impl& b, std::string key) : b_(b), key_(std::move(key)) {}

    const std::string& key() const { return key_; }

    bool isValid() const override { return b_.node(key_) != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return &b_.window; }

    QAccessibleInterface* parent() const override {
        const Slot* s = b_.slot(key_);
        if (!s || key_.empty()) return b_.window_iface();
        return b_.iface_for(s->parent);
    }
    QAccessibleInterface* child(int i) const override {
        const Slot* s = b_.slot(key_);
        if (!s || i < 0 || size_t(i) >= s->children.size()) return nullptr;
        return b_.iface_for(s->children[size_t(i)]);
    }
    int childCount() const override {
        const Slot* s = b_.slot(key_);
        return s ? int(s->children.size()) : 0;
    }
    int indexOfChild(const QAccessibleInterface* c) const override {
        auto* n = dynamic_cast<const NodeIface*>(c);
        const Slot* s = b_.slot(key_);
        if (!n || !s) return -1;
        for (size_t i = 0; i < s->children.size(); ++i)
            if (s->children[i] == n->key_) return int(i);
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const Slot* s = b_.slot(key_);
        if (!s) return nullptr;
        // Later children are drawn on top.
        for (auto it = s->children.rbegin(); it != s->children.rend(); ++it)
            if (const AccessNode* c = b_.node(*it); c && b_.to_screen(c->bounds).contains(x, y))
                return b_.iface_for(*it);
        return nullptr;
    }

    QString text(QAccessible::Text t) const override {
        const AccessNode* n = b_.node(key_);
        if (!n) return {};
        switch (t) {
            case QAccessible::Name: return QString::fromStdString(n->name);
            case QAccessible::Description: return QString::fromStdString(n->description);
            case QAccessible::Value: return QString::fromStdString(n->value);
            default: return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const AccessNode* n = b_.node(key_);
        return n ? b_.to_screen(n->bounds) : QRect();
    }
    QAccessible::Role role() const override {
        const AccessNode* n = b_.node(key_);
        return n ? qt_role(n->role) : QAccessible::NoRole;
    }
    QAccessible::State state() const override {
        const AccessNode* n = b_.node(key_);
        QAccessible::State s;
        if (!n) {
            s.invalid = true;
            return s;
        }
        s = qt_state(*n);
        QRect win(b_.window.mapToGlobal(QPoint(0, 0)), b_.window.size());
        s.offscreen = !rect().intersects(win);
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        const AccessNode* n = b_.node(key_);
        if (!n) return nullptr;
        // The value is text ("Current folder: …"), which AT-SPI carries through its Text interface.
        if (t == QAccessible::TextInterface && !n->value.empty())
            return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::ActionInterface && !n->actions.empty())
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    // Read-only text: the node's value.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override {
        QString v = value();
        if (end < 0 || end > v.size()) end = int(v.size());
        start = std::clamp(start, 0, end);
        return v.mid(start, end - start);
    }
    int characterCount() const override { return int(value().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    QStringList actionNames() const override {
        QStringList out;
        if (const AccessNode* n = b_.node(key_))
            for (const auto& a : n->actions)
                if (QString q = qt_action(a); !out.contains(q)) out.push_back(q);
        return out;
    }
    void doAction(const QString& name) override {
        const AccessNode* n = b_.node(key_);
        if (!n) return;
        for (const auto& a : n->actions)
            if (qt_action(a) == name) {
                // Copies: the action may rebuild the tree the node lives in.
                std::string id = n->id, action = a;
                (void)b_.act(id, action);
                return;
            }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QString value() const {
        const AccessNode* n = b_.node(key_);
        return n ? QString::fromStdString(n->value) : QString();
    }

    AccessBridge::Impl& b_;
    std::string key_;
};

class WindowIface final : public QAccessibleObject {
public:
    explicit WindowIface(QWindow* w) : QAccessibleObject(w), w_(w) {}

    QWindow* window() const override { return w_; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(qApp); }
    int childCount() const override {
        auto* b = impl_for(w_);
        return b && b->node({}) ? 1 : 0;
    }
    QAccessibleInterface* child(int i) const override {
        auto* b = impl_for(w_);
        return b && i == 0 ? b->iface_for({}) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* c) const override {
        auto* n = dynamic_cast<const NodeIface*>(c);
        return n && n->key().empty() && impl_for(w_) ? 0 : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* c = child(0);
        return c && c->rect().contains(x, y) ? c : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        auto* b = impl_for(w_);
        if (!b) return nullptr;
        if (b->stale) (void)b->rebuild();
        auto k = b->find_focused();
        return k ? b->iface_for(*k) : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? w_->title() : QString();
    }
    QRect rect() const override { return QRect(w_->mapToGlobal(QPoint(0, 0)), w_->size()); }
    QAccessible::Role role() const override { return QAccessible::Window; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.active = w_->isActive();
        s.focusable = true;
        s.focused = w_->isActive();
        s.invisible = !w_->isVisible();
        s.sizeable = true;
        return s;
    }

private:
    QWindow* w_;
};

QAccessibleInterface* factory(const QString&, QObject* object) {
    for (const auto& r : registry())
        if (r.window == object) return new WindowIface(r.window);
    return nullptr;
}

}  // namespace

QAccessibleInterface* AccessBridge::Impl::iface_for(const std::string& key) {
    if (!slot(key)) return nullptr;
    if (auto it = ifaces.find(key); it != ifaces.end())
        if (QAccessibleInterface* i = QAccessible::accessibleInterface(it->second)) return i;
    auto* i = new NodeIface(*this, key);
    ifaces[key] = QAccessible::registerAccessibleInterface(i);
    return i;
}

void AccessBridge::Impl::frame_done() {
    if (!QAccessible::isActive()) {
        // Nobody listens: build nothing now; the first query rebuilds.
        stale = true;
        return;
    }
    auto [old_tree, old_places] = rebuild();

    // Only nodes a client has seen can have changed for it.
    std::vector<QAccessible::Id> retired;
    std::vector<std::pair<QAccessible::Id, std::string>> reordered;
    for (auto it = ifaces.begin(); it != ifaces.end();) {
        auto now = places.find(it->first);
        if (now == places.end()) {
            retired.push_back(it->second);
            it = ifaces.erase(it);
            continue;
        }
        auto before = old_places.find(it->first);
        QAccessibleInterface* i = QAccessible::accessibleInterface(it->second);
        if (before == old_places.end() || !i) {
            ++it;
            continue;
        }
        const AccessNode& a = *before->second.node;
        const AccessNode& b = *now->second.node;
        if (a.name != b.name) {
            QAccessibleEvent ev(i, QAccessible::NameChanged);
            send(ev);
        }
        if (a.description != b.description) {
            QAccessibleEvent ev(i, QAccessible::DescriptionChanged);
            send(ev);
        }
        if (a.value != b.value) {
            QString ov = QString::fromStdString(a.value), nv = QString::fromStdString(b.value);
            QAccessibleTextUpdateEvent text(i, 0, ov, nv);
            send(text);
            QAccessibleValueChangeEvent value(i, nv);
            send(value);
        }
        QAccessible::State changed = changed_states(a, b);
        if (changed != QAccessible::State()) {
            QAccessibleStateChangeEvent ev(i, changed);
            send(ev);
        }
        if (a.states.selected != b.states.selected) {
            QAccessibleEvent ev(i, b.states.selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
            send(ev);
        }
        if (before->second.children != now->second.children) reordered.emplace_back(it->second, it->first);
        ++it;
    }
    if (bool(old_tree) != bool(tree)) {
        if (QAccessibleInterface* w = window_iface()) {
            QAccessibleEvent ev(w, QAccessible::ObjectReorder);
            send(ev);
        }
    }
    for (const auto& [id, key] : reordered)
        if (QAccessibleInterface* i = QAccessible::accessibleInterface(id)) {
            QAccessibleEvent ev(i, QAccessible::ObjectReorder);
            send(ev);
        }

    std::optional<std::string> focus = find_focused();
    if (focus && focus != focused_key)
        if (QAccessibleInterface* i = iface_for(*focus)) {
            QAccessibleEvent ev(i, QAccessible::Focus);
            send(ev);
        }
    focused_key = std::move(focus);

    for (QAccessible::Id id : retired) QAccessible::deleteAccessibleInterface(id);
}

AccessBridge::AccessBridge(QWindow& window, const Widget& root, ActionFn act)
    : impl_(std::make_unique<Impl>(window, root, std::move(act))) {
    static const bool installed = (QAccessible::installFactory(&factory), true);
    (void)installed;
    registry().push_back({&window, impl_.get()});
}

AccessBridge::~AccessBridge() {
    std::erase_if(registry(), [&](const Registry& r) { return r.impl == impl_.get(); });
    // The window's own interface stays with Qt until the window goes; it now reports no children.
    for (const auto& [key, id] : impl_->ifaces) QAccessible::deleteAccessibleInterface(id);
}

void AccessBridge::frame_done() { impl_->frame_done(); }

QAccessibleInterface* AccessBridge::window_interface() const { return impl_->window_iface(); }

}  // namespace orvo_ui

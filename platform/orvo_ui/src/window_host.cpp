#include "window_host.hpp"

#include "qt_bridge.hpp"

#include <orvo_ui/persist.hpp>
#include <orvo_ui/text.hpp>
#include <orvo_ui/widget.hpp>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QRasterWindow>
#include <QTimer>
#include <QWheelEvent>

#include <chrono>

namespace orvo_ui {

namespace {

Modifiers mods(Qt::KeyboardModifiers m) {
    return {m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier), m.testFlag(Qt::AltModifier),
            m.testFlag(Qt::MetaModifier)};
}

PointerButton button(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton: return PointerButton::Primary;
        case Qt::RightButton: return PointerButton::Secondary;
        case Qt::MiddleButton: return PointerButton::Middle;
        default: return PointerButton::Other;
    }
}

Key key_of(int k) {
    switch (k) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return Key::Enter;
        case Qt::Key_Escape: return Key::Escape;
        case Qt::Key_Backspace: return Key::Backspace;
        case Qt::Key_Delete: return Key::Delete;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return Key::Tab;
        case Qt::Key_Space: return Key::Space;
        case Qt::Key_Up: return Key::Up;
        case Qt::Key_Down: return Key::Down;
        case Qt::Key_Left: return Key::Left;
        case Qt::Key_Right: return Key::Right;
        case Qt::Key_Home: return Key::Home;
        case Qt::Key_End: return Key::End;
        case Qt::Key_PageUp: return Key::PageUp;
        case Qt::Key_PageDown: return Key::PageDown;
        case Qt::Key_Insert: return Key::Insert;
        case Qt::Key_Menu: return Key::Menu;
        default: break;
    }
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return Key(int(Key::F1) + (k - Qt::Key_F1));
    return Key::Unknown;
}

// The typed character. With Control held Qt reports control codes, so printable keys are
// rebuilt from the key code (letters by Shift).
std::string text_of(const QKeyEvent& e) {
    QString t = e.text();
    bool printable = !t.isEmpty() && t.at(0).isPrint();
    if (printable) return t.toStdString();
    int k = e.key();
    if (k >= Qt::Key_A && k <= Qt::Key_Z) {
        char c = char('a' + (k - Qt::Key_A));
        if (e.modifiers().testFlag(Qt::ShiftModifier)) c = char(c - 'a' + 'A');
        return std::string(1, c);
    }
    if (k > Qt::Key_Space && k <= Qt::Key_AsciiTilde) return std::string(1, char(k));
    return {};
}

class HostWindow final : public QRasterWindow {
public:
    HostWindow(std::unique_ptr<Widget> root, persist::Document* doc) : root_(std::move(root)), doc_(doc) {
        theme_ = theme::current();
        text_.set_text_scale(theme_.text_scale);
        waker_ = Waker([this] { QMetaObject::invokeMethod(this, [this] { tick(); }, Qt::QueuedConnection); });
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
        setFlag(Qt::WindowType::Window);
    }
    ~HostWindow() override { waker_.disconnect(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter qp(this);
        QtPainter p(qp, text_);
        FrameContext frame = frame_context();
        Rect viewport{0, 0, float(width()), float(height())};
        p.fill_rect(viewport, theme_.window);
        run_frame(*root_, p, viewport, frame, float(devicePixelRatio()));
        (void)root_->take_redraw_request();
        if (auto t = root_->window_title(); t && *t != title_) {
            title_ = *t;
            setTitle(QString::fromStdString(title_));
        }
        schedule();
    }

    void mouseMoveEvent(QMouseEvent* e) override {
        deliver(PointerMove{device(e->position()), mods(e->modifiers())});
    }
    void mousePressEvent(QMouseEvent* e) override {
        deliver(PointerPress{device(e->position()), button(e->button()), mods(e->modifiers())});
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        deliver(PointerRelease{device(e->position()), button(e->button()), mods(e->modifiers())});
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        // Multi-clicks are the widgets' to detect from presses and their times.
        deliver(PointerPress{device(e->position()), button(e->button()), mods(e->modifiers())});
    }
    void wheelEvent(QWheelEvent* e) override {
        float dpr = float(devicePixelRatio());
        QPoint px = e->pixelDelta();
        float dx, dy;
        if (!px.isNull()) {
            dx = -float(px.x()) * dpr;
            dy = -float(px.y()) * dpr;
        } else {
            // One notch (120) scrolls three lines of about 16 logical pixels.
            dx = -float(e->angleDelta().x()) / 120.0f * 48.0f * dpr;
            dy = -float(e->angleDelta().y()) / 120.0f * 48.0f * dpr;
        }
        deliver(Scroll{device(e->position()), dx, dy, mods(e->modifiers())});
    }
    void keyPressEvent(QKeyEvent* e) override {
        Key k = key_of(e->key());
        std::string t = text_of(*e);
        if (k == Key::Unknown && !t.empty()) k = Key::Character;
        deliver(KeyPress{k, k == Key::Character || k == Key::Space ? t : std::string(), mods(e->modifiers()),
                         e->isAutoRepeat()});
    }
    void keyReleaseEvent(QKeyEvent* e) override {
        Key k = key_of(e->key());
        std::string t = text_of(*e);
        if (k == Key::Unknown && !t.empty()) k = Key::Character;
        deliver(KeyRelease{k, k == Key::Character ? t : std::string(), mods(e->modifiers())});
    }
    void focusInEvent(QFocusEvent*) override { deliver(FocusChange{true}); }
    void focusOutEvent(QFocusEvent*) override { deliver(FocusChange{false}); }
    bool event(QEvent* e) override {
        if (e->type() == QEvent::Leave) deliver(PointerLeave{});
        return QRasterWindow::event(e);
    }

private:
    Point device(QPointF p) const {
        float dpr = float(devicePixelRatio());
        return {float(p.x()) * dpr, float(p.y()) * dpr};
    }

    FrameContext frame_context() { return FrameContext{Clock::now(), theme_, text_, waker_, doc_}; }

    void deliver(const Event& ev) {
        EventContext ctx{theme_, text_, Clock::now(), float(devicePixelRatio()),
                         Rect{0, 0, float(width()), float(height())}};
        EventResult r = root_->handle_event(ev, ctx);
        if (r == EventResult::Consumed || root_->take_redraw_request()) update();
        schedule();
    }

    // Runs the per-frame update without drawing; draws only when the tree asks for it.
    void tick() {
        FrameContext frame = frame_context();
        root_->sync(frame);
        if (root_->take_redraw_request()) update();
        schedule();
    }

    void schedule() {
        auto when = root_->next_wakeup();
        if (!when) {
            timer_.stop();
            return;
        }
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(*when - Clock::now()).count();
        timer_.start(int(std::clamp<long long>(ms, 0, 60'000)));
    }

    std::unique_ptr<Widget> root_;
    persist::Document* doc_;
    Theme theme_;
    TextRenderer text_;
    Waker waker_;
    QTimer timer_;
    std::string title_;
};

}  // namespace

int run_window(const launch::LaunchDescriptor& d, std::unique_ptr<Widget> root, persist::Document* doc) {
    HostWindow w(std::move(root), doc);
    w.resize(int(d.default_size.width), int(d.default_size.height));
    w.setTitle(QString::fromStdString(d.app_id));
    w.show();
    if (const char* t = std::getenv("ORVO_UI_EXIT_AFTER_MS"); t && *t) {
        // For automated runs: close the window cleanly after a while.
        QTimer::singleShot(std::atoi(t), &w, [&w] { w.close(); });
    }
    return QGuiApplication::exec();
}

}  // namespace orvo_ui

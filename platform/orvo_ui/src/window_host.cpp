#include "window_host.hpp"

#include "a11y_bridge.hpp"
#include "qt_bridge.hpp"

#include <orvo_ui/persist.hpp>
#include <orvo_ui/text.hpp>
#include <orvo_ui/widget.hpp>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QRasterWindow>
#include <QSocketNotifier>
#include <QTimer>
#include <QWheelEvent>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <expected>
#include <filesystem>
#include <functional>
#include <list>

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

// Answers every connection on a Unix socket with one snapshot line, then closes it. Everything
// runs on the UI thread without blocking: a client that does not read is dropped after a while.
class ObserverSocket {
public:
    using SnapshotFn = std::function<std::string()>;

    static std::expected<std::unique_ptr<ObserverSocket>, std::string> open(const std::filesystem::path& path,
                                                                             SnapshotFn snapshot) {
        const std::string& p = path.native();
        auto fail = [&](const std::string& why) {
            return std::unexpected("cannot listen on the observer socket " + p + ": " + why);
        };
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        if (p.empty() || p.size() >= sizeof(addr.sun_path)) return fail("the path is empty or too long");
        std::memcpy(addr.sun_path, p.data(), p.size());

        struct stat st;
        if (::lstat(p.c_str(), &st) == 0) {
            if (!S_ISSOCK(st.st_mode)) return fail("a file that is not a socket is in the way");
            int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            if (probe < 0) return fail(std::strerror(errno));
            int rc = ::connect(probe, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
            int err = errno;
            ::close(probe);
            if (rc == 0) return fail("another program is listening on it");
            if (err != ECONNREFUSED) return fail(std::strerror(err));
            if (::unlink(p.c_str()) != 0 && errno != ENOENT) return fail(std::strerror(errno));  // stale
        } else if (errno != ENOENT) {
            return fail(std::strerror(errno));
        }

        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) return fail(std::strerror(errno));
        auto out = std::unique_ptr<ObserverSocket>(new ObserverSocket(fd, path, std::move(snapshot)));
        if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return fail(std::strerror(errno));
        // Nobody can connect before listen, so tightening the mode here leaves no window.
        if (::chmod(p.c_str(), 0600) != 0 || ::lstat(p.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode)) {
            int err = errno;
            (void)::unlink(p.c_str());
            return fail(std::strerror(err));
        }
        out->dev_ = st.st_dev;
        out->ino_ = st.st_ino;
        out->bound_ = true;
        if (::listen(fd, 16) != 0) return fail(std::strerror(errno));
        out->listen_notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(out->listen_notifier_.get(), &QSocketNotifier::activated, out->listen_notifier_.get(),
                         [s = out.get()] { s->accept_ready(); });
        out->retry_.setSingleShot(true);
        QObject::connect(&out->retry_, &QTimer::timeout, &out->retry_,
                         [s = out.get()] { s->listen_notifier_->setEnabled(true); });
        out->sweep_.setInterval(500);
        QObject::connect(&out->sweep_, &QTimer::timeout, &out->sweep_, [s = out.get()] { s->sweep(); });
        return out;
    }

    ~ObserverSocket() {
        listen_notifier_.reset();
        for (auto& c : clients_) {
            c.notifier.reset();
            ::close(c.fd);
        }
        ::close(fd_);
        // Only our own socket: someone may have replaced it meanwhile.
        struct stat st;
        if (bound_ && ::lstat(path_.c_str(), &st) == 0 && st.st_dev == dev_ && st.st_ino == ino_)
            (void)::unlink(path_.c_str());
    }

private:
    static constexpr size_t kMaxWaiting = 8;
    static constexpr auto kClientTimeout = std::chrono::seconds(5);

    struct Client {
        int fd;
        std::string data;
        size_t sent = 0;
        Instant deadline;
        std::unique_ptr<QSocketNotifier> notifier;
    };

    ObserverSocket(int fd, std::filesystem::path path, SnapshotFn snapshot)
        : fd_(fd), path_(std::move(path)), snapshot_(std::move(snapshot)) {}

    void accept_ready() {
        std::optional<std::string> line;
        for (int n = 0; n < 32; ++n) {
            int c = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (c < 0) {
                if (errno == EINTR || errno == ECONNABORTED) continue;
                if (errno != EAGAIN && errno != EWOULDBLOCK) {
                    // Out of descriptors, say: pause rather than spin on a connection we cannot take.
                    listen_notifier_->setEnabled(false);
                    retry_.start(1000);
                }
                return;
            }
            if (!line) line = snapshot_() + "\n";
            Client client{c, *line, 0, Clock::now() + kClientTimeout, nullptr};
            if (write_some(client)) {
                close_client(client.fd);
            } else if (client.fd >= 0 && clients_.size() < kMaxWaiting) {
                clients_.push_back(std::move(client));
                Client& w = clients_.back();
                w.notifier = std::make_unique<QSocketNotifier>(w.fd, QSocketNotifier::Write);
                QObject::connect(w.notifier.get(), &QSocketNotifier::activated, w.notifier.get(),
                                 [this, fd = w.fd] { writable(fd); });
                if (!sweep_.isActive()) sweep_.start();
            } else if (client.fd >= 0) {
                close_client(client.fd);
            }
        }
    }

    // True when everything was written; on an error the client is closed and fd set to -1.
    bool write_some(Client& c) {
        while (c.sent < c.data.size()) {
            ssize_t w = ::send(c.fd, c.data.data() + c.sent, c.data.size() - c.sent, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (w > 0) {
                c.sent += size_t(w);
                continue;
            }
            if (w < 0 && errno == EINTR) continue;
            if (w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return false;
            ::close(c.fd);
            c.fd = -1;
            return false;
        }
        return true;
    }

    void writable(int fd) {
        auto it = std::find_if(clients_.begin(), clients_.end(), [&](const Client& c) { return c.fd == fd; });
        if (it == clients_.end()) return;
        bool done = write_some(*it);
        if (done) close_client(it->fd);
        if (done || it->fd < 0) drop(it);
    }

    void sweep() {
        auto now = Clock::now();
        for (auto it = clients_.begin(); it != clients_.end();) {
            auto next = std::next(it);
            if (now >= it->deadline) {
                ::close(it->fd);
                drop(it);
            }
            it = next;
        }
        if (clients_.empty()) sweep_.stop();
    }

    // The notifier may be the one whose signal is running: let Qt delete it later.
    void drop(std::list<Client>::iterator it) {
        if (it->notifier) {
            it->notifier->setEnabled(false);
            it->notifier.release()->deleteLater();
        }
        clients_.erase(it);
    }

    // Reads what the client sent first: closing with unread data would reset the connection
    // and could discard the snapshot before the client reads it.
    static void close_client(int fd) {
        char buf[512];
        for (int i = 0; i < 16 && ::recv(fd, buf, sizeof buf, MSG_DONTWAIT) > 0; ++i) {
        }
        ::shutdown(fd, SHUT_WR);
        ::close(fd);
    }

    int fd_;
    std::filesystem::path path_;
    SnapshotFn snapshot_;
    bool bound_ = false;
    dev_t dev_ = 0;
    ino_t ino_ = 0;
    std::unique_ptr<QSocketNotifier> listen_notifier_;
    QTimer retry_;
    QTimer sweep_;
    std::list<Client> clients_;
};

class HostWindow final : public QRasterWindow {
public:
    HostWindow(std::unique_ptr<Widget> root, persist::Document* doc) : root_(std::move(root)), doc_(doc) {
        theme_ = theme::current();
        text_.set_text_scale(theme_.text_scale);
        waker_ = Waker([this] { QMetaObject::invokeMethod(this, [this] { tick(); }, Qt::QueuedConnection); });
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
        setFlag(Qt::WindowType::Window);
        a11y_ = std::make_unique<AccessBridge>(*this, *root_, [this](std::string_view id, std::string_view action) {
            bool done = root_->access_action(id, action);
            if (root_->take_redraw_request() || done) update();
            schedule();
            return done;
        });
    }
    ~HostWindow() override { waker_.disconnect(); }

    std::expected<void, std::string> listen_observer(const std::filesystem::path& path) {
        auto s = ObserverSocket::open(path, [this] {
            auto snap = root_->observer_snapshot();
            return snap ? *snap : std::string(R"({"error":"the window has no observer snapshot"})");
        });
        if (!s) return std::unexpected(s.error());
        observer_ = std::move(*s);
        return {};
    }

    QAccessibleInterface* accessibleRoot() const override { return a11y_ ? a11y_->window_interface() : nullptr; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter qp(this);
        QtPainter p(qp, text_);
        FrameContext frame = frame_context();
        Rect viewport{0, 0, float(width()), float(height())};
        p.fill_rect(viewport, theme_.window);
        run_frame(*root_, p, viewport, frame, float(devicePixelRatio()));
        (void)root_->take_redraw_request();
        a11y_->frame_done();
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
    // Declared after root_, so both go before the widget they read.
    std::unique_ptr<AccessBridge> a11y_;
    std::unique_ptr<ObserverSocket> observer_;
};

}  // namespace

std::expected<int, std::string> run_window(const launch::LaunchDescriptor& d, const launch::LaunchArgs& args,
                                           std::unique_ptr<Widget> root, persist::Document* doc) {
    HostWindow w(std::move(root), doc);
    if (const auto& sock = args.observer_socket())
        if (auto ok = w.listen_observer(*sock); !ok) return std::unexpected(ok.error());
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

#include <orvo_ui/gesture.hpp>
#include <orvo_ui/offscreen.hpp>
#include <orvo_ui/text_input.hpp>

#include <QClipboard>
#include <QGuiApplication>
#include <QStyleHints>

namespace orvo_ui {

namespace gesture {
std::chrono::milliseconds multi_click_interval() {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        int ms = app->styleHints()->mouseDoubleClickInterval();
        if (ms > 0) return std::chrono::milliseconds(ms);
    }
    return std::chrono::milliseconds(400);
}
}  // namespace gesture

namespace clipboard {
void set_text(const std::string& text) {
    ensure_gui();
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

std::string text() {
    ensure_gui();
    return QGuiApplication::clipboard()->text().toStdString();
}
}  // namespace clipboard

}  // namespace orvo_ui

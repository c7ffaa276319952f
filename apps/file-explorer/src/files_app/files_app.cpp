#include "files_app/files_app.hpp"

#include <orvo_ui/gesture.hpp>

#include <thumbnail/service.hpp>

#include <sys/stat.h>

#include <fstream>

#include "files_app/app_id.hpp"
#include "i18n/i18n.hpp"
#include "model/utf8.hpp"
#include "model/workspace.hpp"
#include "native_observer/observer.hpp"
#include "places_sidebar/places_sidebar.hpp"
#include "views/file_view.hpp"

namespace files::app {

using namespace orvo_ui;

FileExplorerWidget::FileExplorerWidget() = default;
FileExplorerWidget::~FileExplorerWidget() = default;

std::unique_ptr<FileExplorerWidget> FileExplorerWidget::create(StartupMode mode) {
    std::unique_ptr<FileExplorerWidget> w(new FileExplorerWidget());
    w->dirs_ = compute_startup_dirs(mode);
    path initial = initial_folder(w->dirs_.home);
    w->zoom_ = read_zoom(w->dirs_.config);
    // The initial folder's errors are not shown: an unreadable one starts empty.
    model::load_folder(w->listing_, initial);
    w->in_workspace_ = model::in_workspace(initial);
    w->listing_.load_error.reset();
    w->listing_.next_refresh = Clock::now() + std::chrono::milliseconds(750);

    auto sidebar = std::make_unique<places::PlacesSidebar>(places::system_places(w->dirs_), w->queue_);
    w->shell_ = std::make_unique<NavShell>(std::move(sidebar), std::make_unique<Column>());
    w->rename_field_ =
        std::make_unique<TextInput>("files.rename_input", InputKind::Local, i18n::tr("files-new-name-placeholder"));
    w->retry_button_ = std::make_unique<Button>("files.retry", i18n::tr("files-try-again"), ButtonStyle::Primary);
    w->retry_button_->set_on_activate([q = w->queue_] { q->push(cmd::Reload{}); });
    w->open_thumbnails();
    return w;
}

void FileExplorerWidget::open_thumbnails() {
    images_ = std::make_unique<views::ThumbImageCache>();
    auto open = [](const path& dir) -> std::unique_ptr<thumbnail::service::ThumbnailService> {
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        auto svc = thumbnail::service::ThumbnailService::create(dir, 4, 256, {512, 4096});
        return svc ? std::move(*svc) : nullptr;
    };
    thumbs_ = open(dirs_.thumbnail_cache);
    if (!thumbs_) thumbs_ = open(std::filesystem::temp_directory_path() / "orvo-file-explorer-thumbnails");
}

// ---- navigation -------------------------------------------------------------------------

void FileExplorerWidget::load_folder(const path& p) {
    selection_.clear();
    drag_candidates_.clear();
    last_click_.reset();
    rename_.reset();
    clear_status();
    scroll_->x = scroll_->y = 0;
    if (auto status = model::load_folder(listing_, p)) status_message_ = *status;
    in_workspace_ = model::in_workspace(listing_.current);
    listing_.next_refresh = Clock::now() + model::refresh_interval(listing_.entries.size());
    redraw_ = true;
}

void FileExplorerWidget::navigate_to(const path& p) { load_folder(history_.navigate(listing_.current, p)); }

void FileExplorerWidget::go_back() {
    if (auto to = history_.back(listing_.current)) load_folder(*to);
}

void FileExplorerWidget::go_forward() {
    if (auto to = history_.forward(listing_.current)) load_folder(*to);
}

void FileExplorerWidget::go_up() {
    if (auto to = history_.up(listing_.current)) load_folder(*to);
}

void FileExplorerWidget::reload() { load_folder(path(listing_.current)); }

void FileExplorerWidget::apply_open(const model::OpenAction& action) {
    std::visit(
        [&](const auto& a) {
            using T = std::decay_t<decltype(a)>;
            if constexpr (std::is_same_v<T, model::OpenNavigate>) navigate_to(a.target);
            else if constexpr (std::is_same_v<T, model::OpenStatus>) set_status(a.message);
            // No message when no application takes the document: the desktop reports that itself.
            else if constexpr (std::is_same_v<T, model::OpenDocument>) (void)model::launch_document(a.document);
        },
        action);
}

void FileExplorerWidget::open_path(const path& p) { apply_open(model::decide_open(p)); }

bool FileExplorerWidget::refresh_silently(Instant now) {
    if (!model::refresh_due(listing_, now)) return false;
    if (rename_) return false;
    auto r = model::refresh_listing(listing_, selection_.selected(), selection_.focus());
    if (!r.changed) return false;
    selection_.set(std::move(r.selection), r.focus);
    if (last_click_ && last_click_->index >= listing_.entries.size()) last_click_.reset();
    return true;
}

std::string FileExplorerWidget::status_line_text() const {
    return model::status_line_text(status_message_, listing_.entries.size(), selection_.selected().size());
}

std::optional<path> FileExplorerWidget::click_entry(std::size_t index) {
    if (index >= listing_.entries.size()) return std::nullopt;
    if (last_click_ && last_click_->index == index && now_ - last_click_->at < gesture::multi_click_interval()) {
        last_click_.reset();
        return listing_.entries[index].path;
    }
    selection_.select_only(index);
    last_click_ = LastClick{index, now_};
    return std::nullopt;
}

void FileExplorerWidget::set_zoom(int level) {
    level = std::clamp(level, kZoomMin, kZoomMax);
    if (level == zoom_) return;
    zoom_ = level;
    redraw_ = true;
    if (!dirs_.config) return;
    std::error_code ec;
    std::filesystem::create_directories(*dirs_.config, ec);
    std::ofstream out(*dirs_.config / "zoom", std::ios::binary | std::ios::trunc);
    out << level;  // failures are ignored: the level still applies until exit
}

bool FileExplorerWidget::in_trash() const {
    auto trash = model::trash_files_folder();
    return trash && orvo_ui::sysdirs::same_path(listing_.current, *trash);
}

void FileExplorerWidget::begin_rename() {
    auto f = selection_.focus();
    if (!f || *f >= listing_.entries.size()) return;
    rename_ = InlineRename{*f, listing_.entries[*f].name};
    clear_status();
    rename_field_->set_text(rename_->text);
    rename_field_->set_focused(true);
    pending_scroll_to_ = *f;
}

void FileExplorerWidget::end_rename() {
    rename_.reset();
    rename_field_->set_text({});
    rename_field_->set_focused(false);
}

std::optional<std::string> FileExplorerWidget::window_title() const { return i18n::tr("files-app-title"); }

std::optional<std::string> FileExplorerWidget::observer_snapshot() const {
    return native_observer::observer_snapshot(*this);
}

}  // namespace files::app

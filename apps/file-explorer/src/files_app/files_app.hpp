#pragma once
// The root widget: owns every piece of window state; children only push commands.
#include <orvo_ui/selection.hpp>
#include <orvo_ui/status_bubble.hpp>
#include <orvo_ui/text_input.hpp>
#include <orvo_ui/widget.hpp>
#include <orvo_ui/widgets.hpp>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "files_app/commands.hpp"
#include "files_app/sheet.hpp"
#include "files_app/startup.hpp"
#include "model/listing.hpp"
#include "model/navigation.hpp"

namespace files::views {
class FileView;
class ThumbImageCache;
}  // namespace files::views
namespace thumbnail::service {
class ThumbnailService;
}

namespace files::app {

struct LastClick {
    std::size_t index;
    orvo_ui::Instant at;
};

struct InlineRename {
    std::size_t index;
    std::string text;
};

class FileExplorerWidget final : public orvo_ui::Widget {
public:
    // FileExplorerWidget::new: start-up folders, initial folder and its listing, zoom.
    static std::unique_ptr<FileExplorerWidget> create(StartupMode mode = StartupMode::Window);
    ~FileExplorerWidget() override;

    // Navigation with history; every move ends in load_folder.
    void navigate_to(const path& p);
    void go_back();
    void go_forward();
    void go_up();
    void reload();
    void load_folder(const path& p);
    void open_path(const path& p);

    void push_command(FileCommand c) { queue_->push(std::move(c)); }
    bool drain_commands();
    bool execute_command(const FileCommand& c);
    // Sees every command as it is executed (automation, tests).
    void set_command_observer(std::function<void(const FileCommand&)> fn) { command_observer_ = std::move(fn); }

    void set_status(std::string text) { status_message_ = std::move(text); }
    void clear_status() { status_message_.reset(); }
    void open_sheet(Sheet s) { sheet_ = std::move(s); }
    void close_sheet() { sheet_.reset(); }
    void set_zoom(int level);
    void set_view_mode(ViewMode m) { view_mode_ = m; }
    // The plain-click rule; the entry's path when the click opens it.
    std::optional<path> click_entry(std::size_t index);

    // Silent periodic re-read; true when the listing changed.
    bool refresh_silently(orvo_ui::Instant now);
    std::string status_line_text() const;

    const model::Listing& listing() const { return listing_; }
    model::Listing& listing_mut() { return listing_; }
    const model::NavigationHistory& history() const { return history_; }
    const StartupDirs& dirs() const { return dirs_; }
    const std::optional<std::string>& status_message() const { return status_message_; }
    const std::optional<Sheet>& sheet() const { return sheet_; }
    const std::optional<InlineRename>& inline_rename() const { return rename_; }
    const orvo_ui::selection::SelectionModel& selection() const { return selection_; }
    const std::vector<path>& drag_candidates() const { return drag_candidates_; }
    orvo_ui::selection::SelectionModel& selection_mut() { return selection_; }
    int zoom() const { return zoom_; }
    ViewMode view_mode() const { return view_mode_; }
    orvo_ui::Point last_pointer() const { return pointer_; }
    void set_last_pointer(orvo_ui::Point p) { pointer_ = p; }
    const orvo_ui::ScrollOffset& scroll_offset() const { return *scroll_; }
    float item_scale() const { return 1.0f + 0.15f * float(zoom_); }
    // Screenshots keep the status bubble shown.
    void set_screenshot_hold(bool hold) { screenshot_hold_ = hold; }
    void poke_status_bubble(orvo_ui::Instant now) { bubble_.poke(now); }
    // Geometry of the last layout, for the observer and tests.
    std::optional<SheetGeometry> sheet_geometry_now() const;
    orvo_ui::Rect content_rect() const;
    const views::FileView* file_view() const { return file_view_; }
    thumbnail::service::ThumbnailService* thumbnails() const { return thumbs_.get(); }

    // orvo_ui::Widget
    void sync(orvo_ui::FrameContext& ctx) override;
    void build_layout(orvo_ui::LayoutContext& ctx) override;
    void apply_layout(const orvo_ui::Rect& bounds, orvo_ui::LayoutContext& ctx) override;
    void draw(orvo_ui::Painter& p, orvo_ui::DrawContext& ctx) override;
    void draw_overlay(orvo_ui::Painter& p, orvo_ui::DrawContext& ctx) override;
    orvo_ui::EventResult handle_event(const orvo_ui::Event& e, orvo_ui::EventContext& ctx) override;
    void for_each_child(const std::function<void(orvo_ui::Widget&)>& fn) override;
    bool take_redraw_request() override;
    std::optional<orvo_ui::Instant> next_wakeup() const override;
    std::optional<std::string> window_title() const override;
    std::optional<std::string> observer_snapshot() const override;
    std::optional<orvo_ui::a11y::AccessNode> access_node() const override;
    bool access_action(std::string_view node_id, std::string_view action) override;

    orvo_ui::NavShell& shell() { return *shell_; }

private:
    FileExplorerWidget();
    void open_thumbnails();
    void apply_open(const model::OpenAction& action);
    std::unique_ptr<orvo_ui::Widget> build_content();
    bool handle_sheet_event(const orvo_ui::Event& e, orvo_ui::EventContext& ctx);
    bool handle_shortcut(const orvo_ui::KeyPress& k);
    void begin_rename();
    void end_rename();
    void draw_status_bubble(orvo_ui::Painter& p, orvo_ui::DrawContext& ctx);
    void draw_sheet(orvo_ui::Painter& p, orvo_ui::DrawContext& ctx);
    orvo_ui::Rect bubble_rect(const orvo_ui::TextRenderer& tr) const;
    void scroll_focus_into_view();
    bool in_trash() const;

    StartupDirs dirs_;
    model::Listing listing_;
    model::NavigationHistory history_;
    orvo_ui::selection::SelectionModel selection_;
    std::optional<LastClick> last_click_;
    std::vector<path> drag_candidates_;  // what a drag from the last plain click would carry
    ViewMode view_mode_ = ViewMode::List;
    int zoom_ = 0;
    std::optional<std::string> status_message_;
    orvo_ui::status_bubble::StatusBubble bubble_{std::chrono::milliseconds(1900)};
    std::string bubble_text_;
    bool screenshot_hold_ = false;
    std::optional<Sheet> sheet_;
    std::optional<InlineRename> rename_;
    orvo_ui::Point pointer_;
    CommandQueueHandle queue_ = std::make_shared<CommandQueue>();
    std::function<void(const FileCommand&)> command_observer_;

    std::unique_ptr<orvo_ui::NavShell> shell_;
    std::unique_ptr<orvo_ui::TextInput> rename_field_;
    std::unique_ptr<orvo_ui::Button> retry_button_;
    std::shared_ptr<orvo_ui::ScrollOffset> scroll_ = std::make_shared<orvo_ui::ScrollOffset>();
    // Non-owning views into this frame's tree.
    views::FileView* file_view_ = nullptr;
    orvo_ui::Scrollable* file_scroll_ = nullptr;
    std::optional<std::size_t> pending_scroll_to_;
    std::unique_ptr<thumbnail::service::ThumbnailService> thumbs_;
    std::unique_ptr<views::ThumbImageCache> images_;
    bool thumbs_wake_set_ = false;
    bool in_workspace_ = false;  // of the current folder, as of its last load
    std::uint64_t frame_ = 0;

    orvo_ui::Instant now_{};
    orvo_ui::Theme theme_ = orvo_ui::Theme::light();
    float text_scale_ = 1;
    float line_height_ = 17;
    bool redraw_ = false;
};

}  // namespace files::app

#pragma once
// The root widget: owns every piece of window state; children only push commands.
#include <orvo_ui/widget.hpp>
#include <orvo_ui/widgets.hpp>

#include <memory>
#include <optional>
#include <string>

#include "files_app/commands.hpp"
#include "files_app/startup.hpp"
#include "model/listing.hpp"
#include "model/navigation.hpp"

namespace files::app {

class FileExplorerWidget final : public orvo_ui::Widget {
public:
    // FileExplorerWidget::new: start-up folders, initial folder and its listing, zoom.
    static std::unique_ptr<FileExplorerWidget> create(StartupMode mode = StartupMode::Window);

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

    void set_status(std::string text) { status_message_ = std::move(text); }
    void clear_status() { status_message_.reset(); }
    void set_zoom(int level);
    void set_view_mode(ViewMode m) { view_mode_ = m; }

    // Silent periodic re-read; true when the listing changed.
    bool refresh_silently(model::Instant now);
    std::string status_line_text() const;

    const model::Listing& listing() const { return listing_; }
    model::Listing& listing_mut() { return listing_; }
    const model::NavigationHistory& history() const { return history_; }
    const StartupDirs& dirs() const { return dirs_; }
    const std::optional<std::string>& status_message() const { return status_message_; }
    int zoom() const { return zoom_; }
    ViewMode view_mode() const { return view_mode_; }
    orvo_ui::Point last_pointer() const { return pointer_; }
    const orvo_ui::ScrollOffset& scroll_offset() const { return *scroll_; }

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

    orvo_ui::NavShell& shell() { return *shell_; }

private:
    FileExplorerWidget() = default;
    std::unique_ptr<orvo_ui::Widget> build_content(orvo_ui::LayoutContext& ctx);

    StartupDirs dirs_;
    model::Listing listing_;
    model::NavigationHistory history_;
    std::optional<std::string> status_message_;
    int zoom_ = 0;
    ViewMode view_mode_ = ViewMode::List;
    orvo_ui::Point pointer_;
    CommandQueueHandle queue_ = std::make_shared<CommandQueue>();
    std::shared_ptr<orvo_ui::ScrollOffset> scroll_ = std::make_shared<orvo_ui::ScrollOffset>();
    std::unique_ptr<orvo_ui::NavShell> shell_;
    float text_scale_ = 1;
    bool redraw_ = false;
};

}  // namespace files::app

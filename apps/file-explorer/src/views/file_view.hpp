#pragma once
// The entries of the current folder as a list with columns or a grid of tiles.
#include <orvo_ui/image.hpp>
#include <orvo_ui/selection.hpp>
#include <orvo_ui/text_input.hpp>
#include <orvo_ui/widget.hpp>

#include <thumbnail/cache.hpp>
#include <thumbnail/service.hpp>

#include <optional>
#include <unordered_map>
#include <vector>

#include "files_app/commands.hpp"
#include "model/listing.hpp"
#include "views/file_view_geometry.hpp"

namespace files::views {

// Decoded thumbnails the window keeps, by key, bounded to what recent frames drew.
class ThumbImageCache {
public:
    const orvo_ui::Image* find(const thumbnail::cache::ThumbKey& key, std::uint64_t frame);
    const orvo_ui::Image& insert(const thumbnail::cache::ThumbKey& key, orvo_ui::Image image, std::uint64_t frame);
    std::size_t size() const { return map_.size(); }

private:
    struct Slot {
        orvo_ui::Image image;
        std::uint64_t frame;
    };
    std::unordered_map<thumbnail::cache::ThumbKey, Slot> map_;
};

struct FileViewInput {
    const std::vector<model::FolderEntry>* entries = nullptr;
    orvo_ui::selection::SelectionModel selection;  // the view's own copy for this frame
    app::ViewMode mode = app::ViewMode::List;
    model::SortKey sort_key = model::SortKey::Name;
    bool descending = false;
    float item_scale = 1;
    std::optional<std::size_t> rename_index;
    orvo_ui::TextInput* rename_field = nullptr;
    orvo_ui::Point pointer;
    bool in_trash = false;
    bool keyboard_focus = true;
    bool in_workspace = false;
    thumbnail::service::ThumbnailService* thumbnails = nullptr;
    ThumbImageCache* images = nullptr;
    std::uint64_t frame = 0;
    app::CommandQueueHandle queue;
};

class FileView final : public orvo_ui::Widget {
public:
    explicit FileView(FileViewInput in);

    std::string_view widget_id() const override { return "file_view"; }
    orvo_ui::Size measure(orvo_ui::Size available, orvo_ui::LayoutContext& ctx) override;
    void apply_layout(const orvo_ui::Rect& bounds, orvo_ui::LayoutContext& ctx) override;
    void draw(orvo_ui::Painter& p, orvo_ui::DrawContext& ctx) override;
    orvo_ui::EventResult handle_event(const orvo_ui::Event& e, orvo_ui::EventContext& ctx) override;
    std::optional<orvo_ui::a11y::AccessNode> access_node() const override;
    bool take_redraw_request() override { return std::exchange(redraw_, false); }

    std::optional<std::size_t> hit_test(orvo_ui::Point p) const;
    // The rectangle of an entry's row or tile, in window coordinates.
    orvo_ui::Rect entry_rect(std::size_t i) const;
    const orvo_ui::selection::SelectionModel& selection() const { return in_.selection; }
    std::size_t columns() const { return in_.mode == app::ViewMode::Grid ? grid_.columns : 1; }
    const ListGeometry& list() const { return list_; }
    const GridGeometry& grid() const { return grid_; }

private:
    void compute(float width);
    void draw_list(orvo_ui::Painter& p, orvo_ui::DrawContext& ctx);
    void draw_grid(orvo_ui::Painter& p, orvo_ui::DrawContext& ctx);
    void draw_empty(orvo_ui::Painter& p, orvo_ui::DrawContext& ctx);
    // The ready thumbnail of a file, requesting it when the service has none yet.
    const orvo_ui::Image* thumbnail_for(const model::FolderEntry& e);
    void draw_placeholder(orvo_ui::Painter& p, const orvo_ui::Theme& th, const model::FolderEntry& e,
                          const orvo_ui::Rect& card);
    std::size_t count() const { return in_.entries ? in_.entries->size() : 0; }

    FileViewInput in_;
    float t_ = 1;
    ListGeometry list_;
    GridGeometry grid_;
    std::optional<std::size_t> hovered_;
    orvo_ui::Rect last_visible_;
    bool redraw_ = false;
};

}  // namespace files::views

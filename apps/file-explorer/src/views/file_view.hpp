#pragma once
// The entries of the current folder as rows.
#include <orvo_ui/widget.hpp>

#include <optional>
#include <vector>

#include "files_app/commands.hpp"
#include "model/listing.hpp"

namespace files::views {

class FileView final : public orvo_ui::Widget {
public:
    FileView(const std::vector<model::FolderEntry>& entries, float item_scale, orvo_ui::Point pointer,
             app::CommandQueueHandle queue);

    std::string_view widget_id() const override { return "file_view"; }
    orvo_ui::Size measure(orvo_ui::Size available, orvo_ui::LayoutContext& ctx) override;
    void draw(orvo_ui::Painter& p, orvo_ui::DrawContext& ctx) override;
    orvo_ui::EventResult handle_event(const orvo_ui::Event& e, orvo_ui::EventContext& ctx) override;
    bool take_redraw_request() override;

    float row_height() const;
    // The row under a point, if any.
    std::optional<size_t> row_at(orvo_ui::Point p) const;

private:
    const std::vector<model::FolderEntry>& entries_;
    float s_;
    float t_ = 1;
    app::CommandQueueHandle queue_;
    orvo_ui::Point pointer_;
    bool redraw_ = false;
};

}  // namespace files::views

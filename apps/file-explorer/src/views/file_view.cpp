#include "views/file_view.hpp"

#include <orvo_ui/icons.hpp>
#include <orvo_ui/painter.hpp>

#include <cmath>

#include "i18n/i18n.hpp"

namespace files::views {

using namespace orvo_ui;

FileView::FileView(const std::vector<model::FolderEntry>& entries, float item_scale, Point pointer,
                   app::CommandQueueHandle queue)
    : entries_(entries), s_(item_scale), queue_(std::move(queue)), pointer_(pointer) {}

float FileView::row_height() const { return 34 * s_ * t_; }

Size FileView::measure(Size available, LayoutContext& ctx) {
    t_ = ctx.text.text_scale();
    return {available.width, 8 + row_height() * float(entries_.size()) + 8};
}

std::optional<size_t> FileView::row_at(Point p) const {
    if (!bounds_.contains(p)) return std::nullopt;
    float y = p.y - bounds_.top - 8;
    if (y < 0) return std::nullopt;
    size_t i = size_t(y / row_height());
    if (i >= entries_.size()) return std::nullopt;
    return i;
}

void FileView::draw(Painter& p, DrawContext& ctx) {
    const Theme& th = ctx.theme;
    float rh = row_height();
    float margin = 10 * s_;
    TextStyle name_style{14 * s_, FontWeight::Regular};
    TextStyle meta_style{13 * s_, FontWeight::Regular};
    float size_w = bounds_.width() > 340 * s_ * t_ ? 96 * s_ * t_ : 0;
    // Only the rows inside the visible band are drawn.
    size_t first = size_t(std::max(0.0f, (ctx.visible.top - bounds_.top - 8) / rh));
    auto hovered = ctx.visible.contains(pointer_) ? row_at(pointer_) : std::nullopt;
    for (size_t i = first; i < entries_.size(); ++i) {
        float top = bounds_.top + 8 + rh * float(i);
        if (top > ctx.visible.bottom) break;
        Rect row{bounds_.left, top, bounds_.right, top + rh};
        const auto& e = entries_[i];
        if (hovered == i) p.fill_rounded_rect(row.inset(8, 2), 8, th.hover);
        float icon = 18 * s_;
        Rect ir = Rect::from_xywh(row.left + margin + 4, row.center().y - icon / 2, icon, icon);
        icons::draw_icon(p, icons::icon_for_mime(e.type, e.is_dir), ir, th.text_muted);
        float name_right = row.right - margin - (size_w > 0 ? size_w + 10 * s_ : 0);
        Rect nr{ir.right + 12, row.top, name_right - 12, row.bottom};
        p.text(e.name, nr, name_style, th.text, HAlign::Left);
        if (size_w > 0) {
            Rect sr{row.right - margin - size_w, row.top, row.right - margin, row.bottom};
            p.text(e.is_dir ? std::string("—") : i18n::format_size(e.size), sr, meta_style, th.text_muted,
                   HAlign::Right);
        }
    }
}

EventResult FileView::handle_event(const Event& e, EventContext& ctx) {
    Point pos;
    if (!event_position(e, ctx.scale, pos)) return EventResult::Ignored;
    if (std::holds_alternative<PointerMove>(e)) {
        if (row_at(pos) != row_at(pointer_)) redraw_ = true;
        pointer_ = pos;
        return EventResult::Ignored;
    }
    if (auto* press = std::get_if<PointerPress>(&e); press && press->button == PointerButton::Primary) {
        if (auto row = row_at(pos)) {
            queue_->push(app::cmd::OpenEntry{*row});
            return EventResult::Consumed;
        }
    }
    return EventResult::Ignored;
}

bool FileView::take_redraw_request() { return std::exchange(redraw_, false); }

}  // namespace files::views

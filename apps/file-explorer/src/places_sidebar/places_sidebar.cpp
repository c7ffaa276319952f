#include "places_sidebar/places_sidebar.hpp"

#include <orvo_ui/painter.hpp>
#include <orvo_ui/sysdirs.hpp>

#include "i18n/i18n.hpp"

namespace files::places {

using namespace orvo_ui;

std::vector<Place> system_places(const app::StartupDirs& dirs) {
    using icons::Builtin;
    std::vector<Place> out;
    if (dirs.home) out.push_back({i18n::tr("files-place-home"), *dirs.home, icons::builtin(Builtin::Home)});
    for (const auto& p : dirs.user_dirs.content_places()) {
        Builtin b = Builtin::Folder;
        switch (p.kind) {
            case sysdirs::UserDirKind::Documents: b = Builtin::Documents; break;
            case sysdirs::UserDirKind::Downloads: b = Builtin::Downloads; break;
            case sysdirs::UserDirKind::Music: b = Builtin::Music; break;
            case sysdirs::UserDirKind::Pictures: b = Builtin::Pictures; break;
            case sysdirs::UserDirKind::Videos: b = Builtin::Videos; break;
            default: break;
        }
        out.push_back({p.label, p.dir, icons::builtin(b)});
    }
    out.push_back({i18n::tr("files-place-root"), "/", icons::builtin(Builtin::Drive)});
    return out;
}

PlacesSidebar::PlacesSidebar(std::vector<Place> places, app::CommandQueueHandle queue)
    : places_(std::move(places)), queue_(std::move(queue)) {}

Rect PlacesSidebar::row_rect(size_t i) const {
    float top = bounds_.top + 16 + 36 * float(i);
    return Rect{bounds_.left + 8, top, bounds_.right - 8, top + 34};
}

void PlacesSidebar::draw(Painter& p, DrawContext& ctx) {
    const Theme& th = ctx.theme;
    for (size_t i = 0; i < places_.size(); ++i) {
        Rect r = row_rect(i);
        bool current = sysdirs::same_path(places_[i].path, current_);
        if (current) p.fill_rounded_rect(r, 8, th.accent_soft);
        else if (hovered_ == i) p.fill_rounded_rect(r, 8, th.hover);
        Color fg = current ? th.accent : th.text;
        icons::draw_icon(p, places_[i].icon, Rect::from_xywh(r.left + 10, r.center().y - 9, 18, 18), fg);
        p.text(places_[i].label, Rect{r.left + 38, r.top, r.right - 8, r.bottom},
               {14, current ? FontWeight::SemiBold : FontWeight::Regular}, fg, HAlign::Left);
    }
}

EventResult PlacesSidebar::handle_event(const Event& e, EventContext& ctx) {
    Point pos;
    if (!event_position(e, ctx.scale, pos)) return EventResult::Ignored;
    std::optional<size_t> hit;
    for (size_t i = 0; i < places_.size(); ++i)
        if (row_rect(i).contains(pos)) hit = i;
    if (std::holds_alternative<PointerMove>(e)) {
        if (hit != hovered_) {
            hovered_ = hit;
            redraw_ = true;
        }
        return EventResult::Ignored;
    }
    if (auto* press = std::get_if<PointerPress>(&e); press && press->button == PointerButton::Primary && hit) {
        queue_->push(app::cmd::Navigate{places_[*hit].path});
        return EventResult::Consumed;
    }
    return EventResult::Ignored;
}

bool PlacesSidebar::take_redraw_request() { return std::exchange(redraw_, false); }

}  // namespace files::places

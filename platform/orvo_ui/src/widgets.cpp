#include <orvo_ui/painter.hpp>
#include <orvo_ui/persist.hpp>
#include <orvo_ui/widgets.hpp>

#include <cmath>
#include <numbers>
#include <string>

namespace orvo_ui {

// ---- Text ---------------------------------------------------------------------------------

Text::Text(std::string text, TextRole role, HAlign align) : text_(std::move(text)), role_(role), align_(align) {}

TextStyle Text::style_for(TextRole role) {
    switch (role) {
        case TextRole::Normal: return {14, FontWeight::Regular};
        case TextRole::Muted: return {13, FontWeight::Regular};
        case TextRole::Title: return {20, FontWeight::SemiBold};
        case TextRole::Heading: return {15, FontWeight::SemiBold};
        case TextRole::Caption: return {12, FontWeight::Medium};
    }
    return {};
}

Size Text::measure(Size available, LayoutContext& ctx) {
    Size s = ctx.text.measure(text_, style_for(role_));
    return {std::min(s.width, available.width), s.height};
}

void Text::draw(Painter& p, DrawContext& ctx) {
    Color c = role_ == TextRole::Muted || role_ == TextRole::Caption ? ctx.theme.text_muted : ctx.theme.text;
    p.text(text_, bounds_, style_for(role_), c, align_);
}

std::optional<a11y::AccessNode> Text::access_node() const {
    a11y::AccessNode n;
    n.role = a11y::Role::Label;
    n.name = text_;
    n.bounds = bounds_;
    return n;
}

// ---- Button -------------------------------------------------------------------------------

Button::Button(std::string id, std::string label, ButtonStyle style)
    : id_(std::move(id)), label_(std::move(label)), style_(style) {}

Size Button::measure(Size, LayoutContext& ctx) {
    TextStyle st{14, FontWeight::Medium};
    Size t = ctx.text.measure(label_, st);
    float icon = icon_ ? 18 + 8 : 0;
    return {std::ceil(t.width + icon + 32), std::ceil(std::max(34.0f, t.height + 14))};
}

void Button::paint(Painter& p, const Theme& th, const Rect& r, std::string_view label, ButtonStyle style,
                   bool hovered, bool pressed, bool enabled) {
    Color ground, fg, border{0, 0, 0, 0};
    switch (style) {
        case ButtonStyle::Primary:
            ground = th.accent;
            fg = th.text_on_accent;
            break;
        case ButtonStyle::Destructive:
            ground = th.danger;
            fg = th.text_on_accent;
            break;
        case ButtonStyle::Secondary:
            ground = th.surface;
            fg = th.text;
            border = th.border;
            break;
        case ButtonStyle::Flat:
            ground = hovered ? th.hover : Color{0, 0, 0, 0};
            fg = th.accent;
            break;
    }
    if (style != ButtonStyle::Flat) {
        if (pressed) ground = ground.with_alpha(0.82f);
        else if (hovered) ground = ground.with_alpha(0.92f);
    }
    if (!enabled) {
        ground = ground.with_alpha(0.5f);
        fg = fg.with_alpha(0.5f);
    }
    float radius = std::min(th.radius, r.height() / 2);
    p.fill_rounded_rect(r, radius, ground);
    if (border.a) p.stroke_rounded_rect(r, radius, border, 1);
    p.text(label, r.inset(12, 0), {14, FontWeight::Medium}, fg, HAlign::Center);
}

void Button::draw(Painter& p, DrawContext& ctx) {
    paint(p, ctx.theme, bounds_, label_, style_, hovered_, pressed_, enabled_);
    if (icon_) {
        float s = 18;
        Rect ir = Rect::from_xywh(bounds_.left + 12, bounds_.center().y - s / 2, s, s);
        icons::draw_icon(p, *icon_, ir, style_ == ButtonStyle::Secondary ? ctx.theme.text : ctx.theme.text_on_accent);
    }
}

EventResult Button::handle_event(const Event& e, EventContext& ctx) {
    Point pos;
    bool has_pos = event_position(e, ctx.scale, pos);
    if (std::holds_alternative<PointerMove>(e)) {
        bool h = bounds_.contains(pos);
        if (h != hovered_) {
            hovered_ = h;
            redraw_ = true;
        }
        return EventResult::Ignored;
    }
    if (!enabled_) return EventResult::Ignored;
    if (auto* press = std::get_if<PointerPress>(&e); press && has_pos && press->button == PointerButton::Primary) {
        if (!bounds_.contains(pos)) return EventResult::Ignored;
        pressed_ = true;
        return EventResult::Consumed;
    }
    if (auto* rel = std::get_if<PointerRelease>(&e); rel && rel->button == PointerButton::Primary && pressed_) {
        pressed_ = false;
        if (has_pos && bounds_.contains(pos) && on_activate_) on_activate_();
        return EventResult::Consumed;
    }
    return EventResult::Ignored;
}

bool Button::take_redraw_request() {
    bool r = redraw_;
    redraw_ = false;
    return r;
}

std::optional<a11y::AccessNode> Button::access_node() const {
    a11y::AccessNode n;
    n.id = id_;
    n.role = a11y::Role::Button;
    n.name = label_;
    n.bounds = bounds_;
    n.states.focusable = true;
    n.states.disabled = !enabled_;
    n.actions = {"activate"};
    return n;
}

// ---- Column -------------------------------------------------------------------------------

Widget& Column::add(std::unique_ptr<Widget> child, float flex) {
    items_.push_back({std::move(child), flex, {}});
    return *items_.back().widget;
}

Size Column::measure(Size available, LayoutContext& ctx) {
    float w = 0, h = padding_.top + padding_.bottom;
    Size inner{available.width - padding_.left - padding_.right, available.height};
    for (size_t i = 0; i < items_.size(); ++i) {
        Size s = items_[i].widget->measure(inner, ctx);
        w = std::max(w, s.width);
        h += (items_[i].flex > 0 ? 0 : s.height) + (i ? gap_ : 0);
    }
    return {w + padding_.left + padding_.right, h};
}

void Column::apply_layout(const Rect& bounds, LayoutContext& ctx) {
    bounds_ = bounds;
    Rect inner = bounds.inset(padding_);
    float fixed = 0, flex_total = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
        auto& it = items_[i];
        it.size = it.widget->measure(inner.size(), ctx);
        if (it.flex > 0) flex_total += it.flex;
        else fixed += it.size.height;
        if (i) fixed += gap_;
    }
    float spare = std::max(0.0f, inner.height() - fixed);
    float y = inner.top;
    if (center_ && flex_total == 0) y += spare / 2;
    for (auto& it : items_) {
        float h = it.flex > 0 ? spare * it.flex / flex_total : it.size.height;
        float left = inner.left, right = inner.right;
        if (center_) {
            float w = std::min(inner.width(), it.size.width);
            left = inner.left + (inner.width() - w) / 2;
            right = left + w;
        }
        it.widget->apply_layout(Rect{left, y, right, y + h}, ctx);
        y += h + gap_;
    }
}

void Column::draw(Painter& p, DrawContext& ctx) {
    for (auto& it : items_)
        if (it.widget->bounds().intersects(ctx.visible)) it.widget->draw(p, ctx);
}

EventResult Column::handle_event(const Event& e, EventContext& ctx) {
    EventResult r = EventResult::Ignored;
    for (auto& it : items_)
        if (it.widget->handle_event(e, ctx) == EventResult::Consumed) r = EventResult::Consumed;
    return r;
}

void Column::for_each_child(const std::function<void(Widget&)>& fn) {
    for (auto& it : items_) fn(*it.widget);
}

bool Column::take_redraw_request() {
    bool r = false;
    for (auto& it : items_) r = it.widget->take_redraw_request() || r;
    return r;
}

std::optional<Instant> Column::next_wakeup() const {
    std::optional<Instant> best;
    for (const auto& it : items_)
        if (auto w = it.widget->next_wakeup(); w && (!best || *w < *best)) best = w;
    return best;
}

// ---- Scrollable ---------------------------------------------------------------------------

Scrollable::Scrollable(std::unique_ptr<Widget> child, std::shared_ptr<ScrollOffset> offset, std::string persist_key)
    : child_(std::move(child)), offset_(offset ? std::move(offset) : std::make_shared<ScrollOffset>()),
      persist_key_(std::move(persist_key)) {}

void Scrollable::sync(FrameContext& ctx) {
    doc_ = ctx.document;
    child_->sync(ctx);
}

void Scrollable::clamp() {
    float max_y = std::max(0.0f, content_.height() - bounds_.height());
    float max_x = std::max(0.0f, content_.width() - bounds_.width());
    offset_->y = std::clamp(offset_->y, 0.0f, max_y);
    offset_->x = std::clamp(offset_->x, 0.0f, max_x);
}

void Scrollable::apply_layout(const Rect& bounds, LayoutContext& ctx) {
    bounds_ = bounds;
    Size want = child_->measure({bounds.width(), bounds.height()}, ctx);
    float h = std::max(want.height, bounds.height());
    content_ = Rect{bounds.left, bounds.top, bounds.right, bounds.top + h};
    clamp();
    content_ = content_.translated(-offset_->x, -offset_->y);
    child_->apply_layout(content_, ctx);
}

void Scrollable::scroll_into_view(float top, float bottom) {
    float view_h = bounds_.height();
    if (top < offset_->y) offset_->y = top;
    else if (bottom > offset_->y + view_h) offset_->y = bottom - view_h;
    offset_->y = std::max(0.0f, offset_->y);
    redraw_ = true;
}

void Scrollable::draw(Painter& p, DrawContext& ctx) {
    PainterSave save(p);
    p.clip(bounds_);
    DrawContext inner = ctx;
    inner.visible = ctx.visible.intersected(bounds_);
    child_->draw(p, inner);
    // A thin indicator while the content is taller than the view.
    float ch = content_.height();
    if (ch > bounds_.height() + 1) {
        float track = bounds_.height() - 8;
        float thumb = std::max(28.0f, track * bounds_.height() / ch);
        float pos = (track - thumb) * offset_->y / std::max(1.0f, ch - bounds_.height());
        Rect r = Rect::from_xywh(bounds_.right - 7, bounds_.top + 4 + pos, 4, thumb);
        p.fill_rounded_rect(r, 2, ctx.theme.text_muted.with_alpha(0.45f));
    }
}

EventResult Scrollable::handle_event(const Event& e, EventContext& ctx) {
    if (child_->handle_event(e, ctx) == EventResult::Consumed) return EventResult::Consumed;
    if (auto* s = std::get_if<Scroll>(&e)) {
        Point pos{s->position.x / ctx.scale, s->position.y / ctx.scale};
        if (!bounds_.contains(pos)) return EventResult::Ignored;
        float before = offset_->y;
        offset_->y += s->dy / ctx.scale;
        float max_y = std::max(0.0f, content_.height() - bounds_.height());
        offset_->y = std::clamp(offset_->y, 0.0f, max_y);
        if (offset_->y == before) return EventResult::Ignored;
        content_ = content_.translated(0, before - offset_->y);
        if (doc_ && !persist_key_.empty()) doc_->set(persist_key_, std::to_string(int(offset_->y)));
        redraw_ = true;
        return EventResult::Consumed;
    }
    return EventResult::Ignored;
}

void Scrollable::for_each_child(const std::function<void(Widget&)>& fn) { fn(*child_); }

bool Scrollable::take_redraw_request() {
    bool r = child_->take_redraw_request() || redraw_;
    redraw_ = false;
    return r;
}

std::optional<Instant> Scrollable::next_wakeup() const { return child_->next_wakeup(); }

// ---- NavShell -----------------------------------------------------------------------------

NavShell::NavShell(std::unique_ptr<Widget> sidebar, std::unique_ptr<Widget> content)
    : sidebar_(std::move(sidebar)), content_(std::move(content)) {}

void NavShell::set_sidebar_open(bool open) {
    if (open_ == open) return;
    open_ = open;
    redraw_ = true;
}

void NavShell::snap() { slide_ = open_ ? 1.0f : 0.0f; }

void NavShell::sync(FrameContext& ctx) {
    float target = open_ ? 1.0f : 0.0f;
    if (ctx.theme.reduced_motion || last_tick_ == Instant{}) {
        slide_ = target;
    } else if (slide_ != target) {
        float dt = std::chrono::duration<float>(ctx.now - last_tick_).count();
        float step = std::clamp(dt / 0.18f, 0.0f, 1.0f);
        slide_ = target > slide_ ? std::min(target, slide_ + step) : std::max(target, slide_ - step);
        redraw_ = true;
    }
    last_tick_ = ctx.now;
    if (sidebar_) sidebar_->sync(ctx);
    content_->sync(ctx);
}

void NavShell::apply_layout(const Rect& bounds, LayoutContext& ctx) {
    bounds_ = bounds;
    overlay_ = bounds.width() < breakpoint_;
    float sw = std::min(sidebar_width_, bounds.width() * 0.85f);
    if (!sidebar_) {
        content_rect_ = bounds;
    } else if (overlay_) {
        content_rect_ = bounds;
        float left = bounds.left - sw * (1.0f - slide_);
        sidebar_rect_ = Rect{left, bounds.top, left + sw, bounds.bottom};
        sidebar_->apply_layout(sidebar_rect_, ctx);
    } else {
        sidebar_rect_ = Rect{bounds.left, bounds.top, bounds.left + sw, bounds.bottom};
        content_rect_ = Rect{sidebar_rect_.right, bounds.top, bounds.right, bounds.bottom};
        sidebar_->apply_layout(sidebar_rect_, ctx);
    }
    content_->apply_layout(content_rect_, ctx);
}

void NavShell::draw(Painter& p, DrawContext& ctx) {
    {
        PainterSave s(p);
        p.clip(content_rect_);
        content_->draw(p, ctx);
    }
    if (!sidebar_) return;
    bool shown = !overlay_ || slide_ > 0;
    if (!shown) return;
    if (overlay_) p.fill_rect(content_rect_, ctx.theme.scrim.with_alpha(0.6f * slide_));
    PainterSave s(p);
    p.clip(sidebar_rect_);
    p.fill_rect(sidebar_rect_, ctx.theme.sidebar);
    sidebar_->draw(p, ctx);
    p.line({sidebar_rect_.right - 0.5f, sidebar_rect_.top}, {sidebar_rect_.right - 0.5f, sidebar_rect_.bottom},
           ctx.theme.border, 1);
}

EventResult NavShell::handle_event(const Event& e, EventContext& ctx) {
    Point pos;
    bool has_pos = event_position(e, ctx.scale, pos);
    bool sidebar_visible = sidebar_ && (!overlay_ || slide_ > 0);
    if (sidebar_visible) {
        if (!has_pos || sidebar_rect_.contains(pos) || std::holds_alternative<PointerMove>(e)) {
            if (sidebar_->handle_event(e, ctx) == EventResult::Consumed) return EventResult::Consumed;
        }
        // A press beside the overlaid sidebar closes it.
        if (overlay_ && open_ && std::holds_alternative<PointerPress>(e) && !sidebar_rect_.contains(pos)) {
            open_ = false;
            redraw_ = true;
            return EventResult::Consumed;
        }
    }
    return content_->handle_event(e, ctx);
}

void NavShell::for_each_child(const std::function<void(Widget&)>& fn) {
    if (sidebar_) fn(*sidebar_);
    fn(*content_);
}

bool NavShell::take_redraw_request() {
    bool r = redraw_;
    redraw_ = false;
    if (sidebar_) r = sidebar_->take_redraw_request() || r;
    return content_->take_redraw_request() || r;
}

std::optional<Instant> NavShell::next_wakeup() const {
    std::optional<Instant> best = content_->next_wakeup();
    if (sidebar_)
        if (auto w = sidebar_->next_wakeup(); w && (!best || *w < *best)) best = w;
    if (slide_ != (open_ ? 1.0f : 0.0f)) {
        auto w = Clock::now() + std::chrono::milliseconds(16);
        if (!best || w < *best) best = w;
    }
    return best;
}

// ---- Spinner ------------------------------------------------------------------------------

Size Spinner::measure(Size, LayoutContext&) { return {size_, size_}; }

void Spinner::sync(FrameContext& ctx) {
    animate_ = !ctx.theme.reduced_motion;
    now_ = ctx.now;
}

void Spinner::draw(Painter& p, DrawContext& ctx) {
    Rect r = Rect::from_xywh(bounds_.center().x - size_ / 2, bounds_.center().y - size_ / 2, size_, size_).inset(2, 2);
    p.stroke_ellipse(r, ctx.theme.border, 3);
    float t = animate_ ? std::chrono::duration<float>(ctx.now.time_since_epoch()).count() : 0;
    float start = std::fmod(-t * 360.0f, 360.0f) + 90;
    p.arc(r, start, -100, ctx.theme.accent, 3);
}

std::optional<Instant> Spinner::next_wakeup() const {
    if (!animate_) return std::nullopt;
    return now_ + std::chrono::milliseconds(33);
}

std::optional<a11y::AccessNode> Spinner::access_node() const {
    a11y::AccessNode n;
    n.role = a11y::Role::ProgressIndicator;
    n.states.busy = true;
    n.bounds = bounds_;
    return n;
}

// ---- EmptyState ---------------------------------------------------------------------------

EmptyState::EmptyState(icons::Icon icon, std::string title, std::string detail)
    : icon_(std::move(icon)), title_(std::move(title)), detail_(std::move(detail)) {}

Size EmptyState::measure(Size available, LayoutContext& ctx) {
    float h = 64 + 16 + ctx.text.line_height(Text::style_for(TextRole::Heading));
    if (!detail_.empty()) h += 6 + ctx.text.line_height(Text::style_for(TextRole::Muted));
    return {available.width, h + 32};
}

void EmptyState::draw(Painter& p, DrawContext& ctx) {
    const TextRenderer& tr = p.text_renderer();
    float th = tr.line_height(Text::style_for(TextRole::Heading));
    float dh = detail_.empty() ? 0 : 6 + tr.line_height(Text::style_for(TextRole::Muted));
    float total = 64 + 16 + th + dh;
    float y = bounds_.center().y - total / 2;
    float cx = bounds_.center().x;
    icons::draw_icon(p, icon_, Rect::from_xywh(cx - 32, y, 64, 64), ctx.theme.text_muted.with_alpha(0.7f));
    y += 64 + 16;
    Rect line{bounds_.left + 16, y, bounds_.right - 16, y + th};
    p.text(title_, line, Text::style_for(TextRole::Heading), ctx.theme.text, HAlign::Center);
    if (!detail_.empty()) {
        y += th + 6;
        Rect d{bounds_.left + 16, y, bounds_.right - 16, y + dh - 6};
        p.text(detail_, d, Text::style_for(TextRole::Muted), ctx.theme.text_muted, HAlign::Center);
    }
}

std::optional<a11y::AccessNode> EmptyState::access_node() const {
    a11y::AccessNode n;
    n.role = a11y::Role::Label;
    n.name = title_;
    n.description = detail_;
    n.bounds = bounds_;
    return n;
}

}  // namespace orvo_ui

#include "views/file_view.hpp"

#include <orvo_ui/chrome.hpp>
#include <orvo_ui/icons.hpp>
#include <orvo_ui/painter.hpp>

#include <thumbnail/category.hpp>

#include <cmath>

#include "i18n/i18n.hpp"
#include "model/attributes.hpp"
#include "views/collab_state.hpp"

namespace files::views {

using namespace orvo_ui;
using chrome::shell::Tier;

namespace {

std::string size_text(const model::FolderEntry& e) { return i18n::entry_size_text(e); }

std::string modified_text(const model::FolderEntry& e) {
    return i18n::format_modified(e.modified ? i18n::local_datetime(e.modified->seconds) : std::nullopt);
}

}  // namespace

const Image* ThumbImageCache::find(const thumbnail::cache::ThumbKey& key, std::uint64_t frame) {
    auto it = map_.find(key);
    if (it == map_.end()) return nullptr;
    it->second.frame = frame;
    return &it->second.image;
}

const Image& ThumbImageCache::insert(const thumbnail::cache::ThumbKey& key, Image image, std::uint64_t frame) {
    // Past the bound, forget what no recent frame drew; a screenful is far below it.
    constexpr std::size_t kMax = 512;
    if (map_.size() >= kMax) {
        std::vector<std::uint64_t> frames;
        for (const auto& [k, v] : map_) frames.push_back(v.frame);
        std::nth_element(frames.begin(), frames.begin() + frames.size() / 2, frames.end());
        std::uint64_t cut = frames[frames.size() / 2];
        std::erase_if(map_, [&](const auto& kv) { return kv.second.frame <= cut && kv.second.frame != frame; });
    }
    return map_.insert_or_assign(key, Slot{std::move(image), frame}).first->second.image;
}

FileView::FileView(FileViewInput in) : in_(std::move(in)) {}

const Image* FileView::thumbnail_for(const model::FolderEntry& e) {
    auto* svc = in_.thumbnails;
    if (!svc || !in_.images || e.is_dir) return nullptr;
    std::uint64_t mtime_ms = 0;
    if (e.modified && e.modified->seconds >= 0)
        mtime_ms = std::uint64_t(e.modified->seconds) * 1000 + e.modified->nanoseconds / 1'000'000;
    auto key = e.content_hash ? thumbnail::cache::ThumbKey::of_digest(*e.content_hash, svc->size())
                              : thumbnail::cache::ThumbKey::of_path_meta(e.path, mtime_ms, e.size, svc->size());
    if (const Image* img = in_.images->find(key, in_.frame)) return img;
    auto poll = svc->poll(key);
    switch (poll.state) {
        case thumbnail::service::ThumbState::Ready: {
            if (!poll.image) return nullptr;
            Image img = Image::from_rgba(int(poll.image->width), int(poll.image->height), poll.image->pixels);
            if (img.empty()) return nullptr;
            return &in_.images->insert(key, std::move(img), in_.frame);
        }
        case thumbnail::service::ThumbState::Absent: {
            auto category = thumbnail::category::category_for_path(e.path);
            if (!in_.in_workspace) {
                // Only kinds a decoder can draw are worth a request; the rest keep their icon.
                using thumbnail::category::Category;
                if (category == std::uint8_t(Category::Image) || category == std::uint8_t(Category::Pdf) ||
                    category == std::uint8_t(Category::Ebook))
                    svc->request_file(key, category, e.path);
                return nullptr;
            }
            // The stored preview is read only when the service asks for it.
            thumbnail::service::PreviewFn preview = [path = e.path]() -> std::optional<std::vector<std::uint8_t>> {
                auto bytes = model::read_thumbnail(path);
                if (!bytes || bytes->empty()) return std::nullopt;
                return std::vector<std::uint8_t>(bytes->begin(), bytes->end());
            };
            // Content that is not on this device is never fetched for a thumbnail.
            if (content_is_local(e)) svc->request_with_preview(key, category, e.path, std::move(preview));
            else svc->request_preview_only(key, category, std::move(preview));
            return nullptr;
        }
        default: return nullptr;
    }
}

void FileView::draw_placeholder(Painter& p, const Theme& th, const model::FolderEntry& e, const Rect& card) {
    static constexpr float kColours[13][3] = {
        {0.231f, 0.655f, 0.463f}, {0.545f, 0.361f, 0.965f}, {0.878f, 0.333f, 0.604f}, {0.898f, 0.282f, 0.302f},
        {0.816f, 0.541f, 0.180f}, {0.243f, 0.482f, 0.918f}, {0.184f, 0.639f, 0.420f}, {0.910f, 0.439f, 0.227f},
        {0.690f, 0.482f, 0.243f}, {0.165f, 0.627f, 0.706f}, {0.478f, 0.510f, 0.565f}, {0.486f, 0.424f, 0.941f},
        {0.541f, 0.576f, 0.627f},
    };
    auto cat = std::min<std::size_t>(thumbnail::category::category_for_path(e.path), 12);
    Color c{std::uint8_t(kColours[cat][0] * 255 + 0.5f), std::uint8_t(kColours[cat][1] * 255 + 0.5f),
            std::uint8_t(kColours[cat][2] * 255 + 0.5f), 255};
    float r = 8 * grid_.s;
    p.fill_rounded_rect(card, r, c.with_alpha(0.16f));
    p.stroke_rounded_rect(card, r, c.with_alpha(0.5f), 1);
    float side = card.height() / 2;
    Rect icon = Rect::from_xywh(card.center().x - side / 2, card.top + 0.14f * card.height(), side, side);
    icons::draw_icon(p, icons::icon_for_mime(e.type, false), icon, th.text_muted);
    std::string ext = e.path.extension().string();
    std::string label;
    for (std::size_t i = 1; i < ext.size() && label.size() < 4; ++i) {
        char ch = ext[i];
        label += (ch >= 'a' && ch <= 'z') ? char(ch - 'a' + 'A') : ch;
    }
    if (label.empty()) return;
    float size = std::clamp(0.2f * card.height(), 8.0f, 13.0f);
    Rect line{card.left + 2, card.bottom - size * 1.9f, card.right - 2, card.bottom - size * 0.5f};
    p.text(label, line, {size, FontWeight::SemiBold}, c, HAlign::Center);
}

void FileView::compute(float width) {
    list_ = list_geometry(bounds_.left, bounds_.top, width, in_.item_scale, t_);
    grid_ = grid_geometry(bounds_.left, bounds_.top, width, in_.item_scale, t_);
}

Size FileView::measure(Size available, LayoutContext& ctx) {
    t_ = ctx.text.text_scale();
    compute(available.width);
    if (count() == 0) return {available.width, available.height};
    float h = in_.mode == app::ViewMode::List ? list_.content_height(count()) : grid_.content_height(count());
    return {available.width, h};
}

void FileView::apply_layout(const Rect& bounds, LayoutContext& ctx) {
    bounds_ = bounds;
    t_ = ctx.text.text_scale();
    compute(bounds.width());
    hovered_ = hit_test(in_.pointer);
    if (in_.rename_field && in_.rename_index && *in_.rename_index < count()) {
        Rect r;
        if (in_.mode == app::ViewMode::List) {
            Rect row = list_.row(*in_.rename_index);
            float s = list_.s;
            float name_x = list_.name_left + 4 + 18 * s + 12;
            r = Rect{name_x - TextInput::kInset, row.top + 2, list_.name_right - 4, row.bottom - 2};
        } else {
            Rect tile = grid_.tile(*in_.rename_index);
            float line = ctx.text.line_height({13 * grid_.s, FontWeight::Regular});
            auto parts = tile_parts(grid_, tile, line, (*in_.entries)[*in_.rename_index].is_dir);
            r = Rect{tile.left + 6, parts.label.top - 4, tile.right - 6, parts.label.bottom + 6};
        }
        in_.rename_field->apply_layout(r, ctx);
    }
}

std::optional<std::size_t> FileView::hit_test(Point p) const {
    return in_.mode == app::ViewMode::List ? views::hit_test(list_, p, count()) : views::hit_test(grid_, p, count());
}

Rect FileView::entry_rect(std::size_t i) const {
    return in_.mode == app::ViewMode::List ? list_.row(i) : grid_.tile(i);
}

void FileView::draw(Painter& p, DrawContext& ctx) {
    last_visible_ = ctx.visible;
    if (count() == 0) {
        draw_empty(p, ctx);
        return;
    }
    if (in_.mode == app::ViewMode::List) draw_list(p, ctx);
    else draw_grid(p, ctx);
}

void FileView::draw_empty(Painter& p, DrawContext& ctx) {
    const TextRenderer& tr = p.text_renderer();
    TextStyle st{15, FontWeight::Medium};
    float icon = 64;
    float line = tr.line_height(st);
    float y = bounds_.top + std::max(0.0f, (std::min(bounds_.height(), ctx.visible.height()) - icon - 14 - line) / 2);
    float cx = bounds_.center().x;
    icons::Icon ic = icons::builtin(in_.in_trash ? icons::Builtin::Trash : icons::Builtin::FolderOpen);
    icons::draw_icon(p, ic, Rect::from_xywh(cx - icon / 2, y, icon, icon), ctx.theme.text_muted.with_alpha(0.6f),
                     icons::Source::BuiltinOnly);
    Rect text{bounds_.left + 16, y + icon + 14, bounds_.right - 16, y + icon + 14 + line};
    p.text(i18n::tr(in_.in_trash ? "files-empty-trash" : "files-empty-folder"), text, st, ctx.theme.text_muted,
           HAlign::Center);
}

void FileView::draw_list(Painter& p, DrawContext& ctx) {
    const Theme& th = ctx.theme;
    const auto& g = list_;
    const float s = g.s;
    TextStyle name_style{14 * s, FontWeight::Regular};
    TextStyle meta_style{13 * s, FontWeight::Regular};
    TextStyle head_style{12 * s, FontWeight::SemiBold};
    const TextRenderer& tr = p.text_renderer();

    // Header with the sort arrow beside the current column.
    Rect head = g.header();
    if (head.intersects(ctx.visible)) {
        auto label = [&](const char* id, float left, float right, int column) {
            std::string text = i18n::tr(id);
            Rect box{left, head.top, right, head.bottom};
            p.text(text, box, head_style, th.text_muted, HAlign::Left);
            bool current = (column == 1 && in_.sort_key == model::SortKey::Name) ||
                           (column == 2 && in_.sort_key == model::SortKey::Size) ||
                           (column == 3 && in_.sort_key == model::SortKey::Modified);
            if (current) {
                float w = tr.measure(text, head_style).width;
                p.text(in_.descending ? "▾" : "▴", Rect{left + w + 4, head.top, right, head.bottom}, head_style,
                       th.text_muted, HAlign::Left);
            }
        };
        label("files-column-name", g.name_left + 4, g.name_right, 1);
        if (g.show_size) label("files-column-size", g.size_left, g.size_right, 2);
        if (g.show_modified) label("files-column-modified", g.modified_left, g.modified_right, 3);
        p.line({head.left + 10 * s, head.bottom - 0.5f}, {head.right - 10 * s, head.bottom - 0.5f}, th.border, 1);
    }

    auto [first, last] = visible_range(g, ctx.visible, count());
    for (std::size_t i = first; i < last; ++i) {
        const auto& e = (*in_.entries)[i];
        Rect row = g.row(i);
        bool selected = in_.selection.is_selected(i);
        if (selected || hovered_ == i) {
            Tier tier = !selected ? Tier::Hover
                                  : (in_.selection.focus() == i && in_.keyboard_focus ? Tier::SelectedFocused : Tier::Selected);
            chrome::shell::selection_tier(p, th, row.inset(8, 2), 8, tier);
        }
        float icon = 18 * s;
        Rect ir = Rect::from_xywh(g.name_left + 4, row.center().y - icon / 2, icon, icon);
        if (const Image* thumb = thumbnail_for(e)) p.image_cover(*thumb, ir, 3 * s);
        else
            icons::draw_icon(p, e.is_dir ? icons::icon_for_path(e.path, true) : icons::icon_for_mime(e.type, false), ir,
                             th.text_muted);
        if (in_.in_workspace) draw_collab_badge(p, th, ir, e);
        if (in_.rename_index != i) {
            Rect nr{ir.right + 12, row.top, g.name_right - 12, row.bottom};
            p.text(has_open_conflict(e) ? e.name + "  ⚠" : e.name, nr, name_style, th.text, HAlign::Left);
        }
        if (g.show_size)
            p.text(size_text(e), Rect{g.size_left, row.top, g.size_right, row.bottom}, meta_style, th.text_muted,
                   HAlign::Left);
        if (g.show_modified)
            p.text(modified_text(e), Rect{g.modified_left, row.top, g.modified_right, row.bottom}, meta_style,
                   th.text_muted, HAlign::Left);
    }
    if (in_.rename_field && in_.rename_index && *in_.rename_index >= first && *in_.rename_index < last)
        in_.rename_field->draw(p, ctx);
}

void FileView::draw_grid(Painter& p, DrawContext& ctx) {
    const Theme& th = ctx.theme;
    const auto& g = grid_;
    TextStyle label_style{13 * g.s, FontWeight::Regular};
    float line = p.text_renderer().line_height(label_style);
    auto [first, last] = visible_range(g, ctx.visible, count());
    for (std::size_t i = first; i < last; ++i) {
        const auto& e = (*in_.entries)[i];
        Rect tile = g.tile(i);
        bool selected = in_.selection.is_selected(i);
        if (selected || hovered_ == i) {
            Tier tier = !selected ? Tier::Hover
                                  : (in_.selection.focus() == i && in_.keyboard_focus ? Tier::SelectedFocused : Tier::Selected);
            chrome::shell::selection_tier(p, th, tile, 8 * g.s, tier);
        }
        auto parts = tile_parts(g, tile, line, e.is_dir);
        if (e.is_dir) icons::draw_icon(p, icons::icon_for_path(e.path, true), parts.icon, th.text_muted);
        else if (const Image* thumb = thumbnail_for(e)) p.image_cover(*thumb, parts.icon, 6 * g.s);
        else if (in_.thumbnails) draw_placeholder(p, th, e, parts.icon);
        else icons::draw_icon(p, icons::icon_for_mime(e.type, false), parts.icon, th.text_muted);
        if (in_.in_workspace) draw_collab_badge(p, th, parts.icon, e);
        if (in_.rename_index != i)
            p.text(has_open_conflict(e) ? e.name + "  ⚠" : e.name, parts.label, label_style, th.text, HAlign::Center);
    }
    if (in_.rename_field && in_.rename_index && *in_.rename_index >= first && *in_.rename_index < last)
        in_.rename_field->draw(p, ctx);
}

EventResult FileView::handle_event(const Event& e, EventContext& ctx) {
    if (auto* k = std::get_if<KeyPress>(&e)) {
        if (in_.mode != app::ViewMode::Grid || !in_.keyboard_focus || count() == 0) return EventResult::Ignored;
        std::optional<GridMove> m;
        switch (k->key) {
            case Key::Right: m = GridMove::Right; break;
            case Key::Left: m = GridMove::Left; break;
            case Key::Down: m = GridMove::Down; break;
            case Key::Up: m = GridMove::Up; break;
            default: break;
        }
        if (!m) return EventResult::Ignored;
        std::size_t to = grid_move(in_.selection.focus(), *m, count(), grid_.columns);
        in_.selection.move_to(to, k->modifiers.shift);
        in_.queue->push(app::cmd::MoveFocus{to, k->modifiers.shift});
        redraw_ = true;
        return EventResult::Consumed;
    }
    Point pos;
    if (!event_position(e, ctx.scale, pos)) return EventResult::Ignored;
    if (std::holds_alternative<PointerMove>(e)) {
        auto h = hit_test(pos);
        if (h != hovered_) {
            hovered_ = h;
            redraw_ = true;
        }
        return EventResult::Ignored;
    }
    auto* press = std::get_if<PointerPress>(&e);
    if (!press || !bounds_.contains(pos)) return EventResult::Ignored;
    if (press->button == PointerButton::Secondary) {
        if (auto i = hit_test(pos)) {
            if (!in_.selection.is_selected(*i)) in_.selection.select_only(*i);
            in_.queue->push(app::cmd::SelectForMenu{*i});
            redraw_ = true;
        }
        return EventResult::Ignored;  // the context menu is the root's to open
    }
    if (press->button != PointerButton::Primary) return EventResult::Ignored;
    if (in_.mode == app::ViewMode::List) {
        if (auto col = header_column(list_, pos)) {
            in_.queue->push(app::cmd::SortColumn{*col});
            return EventResult::Consumed;
        }
    }
    auto i = hit_test(pos);
    if (!i) return EventResult::Ignored;
    bool primary = press->modifiers.primary(), shift = press->modifiers.shift;
    in_.selection.apply_click(*i, primary, shift);
    in_.queue->push(app::cmd::Click{*i, primary, shift});
    redraw_ = true;
    return EventResult::Consumed;
}

std::optional<a11y::AccessNode> FileView::access_node() const {
    a11y::AccessNode n;
    n.id = "file_view";
    n.role = a11y::Role::List;
    n.name = i18n::tr("files-a11y-list");
    n.bounds = bounds_;
    // Screen readers get the rows on screen; the rest arrive as the view scrolls.
    Rect shown = last_visible_.is_finite_nonempty() ? last_visible_ : bounds_;
    auto [first, last] = in_.mode == app::ViewMode::List ? visible_range(list_, shown, count())
                                                         : visible_range(grid_, shown, count());
    for (std::size_t i = first; i < last; ++i) {
        const auto& e = (*in_.entries)[i];
        a11y::AccessNode row;
        row.id = "file_row:" + std::to_string(i);
        row.role = a11y::Role::ListItem;
        row.name = e.name;
        row.bounds = entry_rect(i);
        row.states.selectable = true;
        row.states.selected = in_.selection.is_selected(i);
        row.states.focused = in_.selection.focus() == i;
        row.description = e.is_dir ? i18n::tr("files-a11y-folder")
                                   : i18n::tr_args("files-a11y-file", i18n::MessageArgs().set("size", size_text(e)));
        for (const auto& sentence : collab_sentences(e)) row.description += " " + sentence;
        row.actions = {"activate"};
        n.children.push_back(std::move(row));
    }
    return n;
}

}  // namespace files::views

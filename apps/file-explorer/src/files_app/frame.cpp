#include <orvo_ui/chrome.hpp>
#include <orvo_ui/icons.hpp>
#include <orvo_ui/painter.hpp>

#include <thumbnail/service.hpp>

#include <algorithm>

#include "files_app/files_app.hpp"
#include "i18n/i18n.hpp"
#include "model/utf8.hpp"
#include "places_sidebar/places_sidebar.hpp"
#include "views/file_view.hpp"

namespace files::app {

using namespace orvo_ui;

namespace {

std::string display(const path& p) { return text::lossy_utf8(p.native()); }

bool is_lead(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }
std::size_t char_count(std::string_view s) { return std::size_t(std::count_if(s.begin(), s.end(), is_lead)); }

// The first n characters.
std::string head_chars(const std::string& s, std::size_t n) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (is_lead(s[i]) && seen++ == n) return s.substr(0, i);
    return s;
}

}  // namespace

// "…" and the last n − 1 characters when the text is longer than n characters.
std::string shorten_path_text(const std::string& text, std::size_t n) {
    if (char_count(text) <= n || n == 0) return text;
    std::size_t keep = n - 1, pos = text.size();
    while (keep > 0 && pos > 0)
        if (is_lead(text[--pos])) --keep;
    return "…" + text.substr(pos);
}

// The part of a load error after its first ": ", cut to 25 characters and "…" from 27 on.
std::string short_error_text(const std::string& error) {
    auto colon = error.find(": ");
    std::string rest = colon == std::string::npos ? error : error.substr(colon + 2);
    if (char_count(rest) >= 27) return head_chars(rest, 25) + "…";
    return rest;
}

namespace {

std::string folder_title(const path& p) {
    path t = p;
    while (t.has_relative_path() && t.filename().empty()) t = t.parent_path();
    std::string name = display(t.filename());
    return name.empty() ? i18n::tr("files-place-root") : name;
}

// Stands in for the path bar and toolbar: the folder's name and its path.
class HeaderBar final : public Widget {
public:
    HeaderBar(std::string title, std::string path) : title_(std::move(title)), path_(std::move(path)) {}
    Size measure(Size available, LayoutContext& ctx) override {
        return {available.width, std::ceil(22 + ctx.text.line_height(kTitle) + ctx.text.line_height(kPath))};
    }
    void draw(Painter& p, DrawContext& ctx) override {
        const TextRenderer& tr = p.text_renderer();
        float th = tr.line_height(kTitle), ph = tr.line_height(kPath);
        Rect t{bounds_.left + 20, bounds_.top + 10, bounds_.right - 20, bounds_.top + 10 + th};
        p.text(title_, t, kTitle, ctx.theme.text, HAlign::Left);
        Rect pr{t.left, t.bottom + 1, t.right, t.bottom + 1 + ph};
        p.text(tr.fit_ellipsis_start(path_, kPath, pr.width()), pr, kPath, ctx.theme.text_muted, HAlign::Left);
        p.line({bounds_.left, bounds_.bottom - 0.5f}, {bounds_.right, bounds_.bottom - 0.5f}, ctx.theme.border, 1);
    }

private:
    static constexpr TextStyle kTitle{18, FontWeight::SemiBold};
    static constexpr TextStyle kPath{12, FontWeight::Regular};
    std::string title_;
    std::string path_;
};

// Loading and load-error presentations, centred in the content.
class StatePanel final : public Widget {
public:
    StatePanel(bool loading, std::string title, std::string detail, Button* retry)
        : loading_(loading), title_(std::move(title)), detail_(std::move(detail)), retry_(retry) {}
    void sync(FrameContext& ctx) override { spinner_.sync(ctx); }
    void apply_layout(const Rect& b, LayoutContext& ctx) override {
        bounds_ = b;
        float th = ctx.text.line_height(kTitle), dh = ctx.text.line_height(kDetail);
        float top_h = loading_ ? 28 + 16 : 48 + 16;
        Size btn = retry_ && !loading_ ? retry_->measure(b.size(), ctx) : Size{};
        float total = top_h + th + 6 + dh + (btn.height > 0 ? 20 + btn.height : 0);
        float y = b.top + std::max(0.0f, (b.height() - total) / 2);
        icon_ = Rect::from_xywh(b.center().x - (loading_ ? 14 : 24), y, loading_ ? 28 : 48, loading_ ? 28 : 48);
        spinner_.apply_layout(icon_, ctx);
        y += top_h;
        title_rect_ = Rect{b.left + 24, y, b.right - 24, y + th};
        y += th + 6;
        detail_rect_ = Rect{b.left + 24, y, b.right - 24, y + dh};
        y += dh + 20;
        if (btn.height > 0) retry_->apply_layout(Rect::from_xywh(b.center().x - btn.width / 2, y, btn.width, btn.height), ctx);
    }
    void draw(Painter& p, DrawContext& ctx) override {
        if (loading_) spinner_.draw(p, ctx);
        else icons::draw_icon(p, icons::builtin(icons::Builtin::Warning), icon_, ctx.theme.text_muted);
        p.text(title_, title_rect_, kTitle, ctx.theme.text, HAlign::Center);
        p.text(detail_, detail_rect_, kDetail, ctx.theme.text_muted, HAlign::Center);
        if (retry_ && !loading_) retry_->draw(p, ctx);
    }
    bool take_redraw_request() override { return loading_ && spinner_.take_redraw_request(); }
    void for_each_child(const std::function<void(Widget&)>& fn) override {
        if (retry_ && !loading_) fn(*retry_);
    }
    std::optional<Instant> next_wakeup() const override {
        return loading_ ? spinner_.next_wakeup() : std::nullopt;
    }

private:
    static constexpr TextStyle kTitle{17, FontWeight::SemiBold};
    static constexpr TextStyle kDetail{13, FontWeight::Regular};
    bool loading_;
    std::string title_, detail_;
    Button* retry_;
    Spinner spinner_{28};
    Rect icon_, title_rect_, detail_rect_;
};

}  // namespace

// ---- per-frame update -------------------------------------------------------------------

void FileExplorerWidget::sync(FrameContext& ctx) {
    now_ = ctx.now;
    theme_ = ctx.theme;
    ++frame_;
    if (thumbs_ && !thumbs_wake_set_) {
        // Finished thumbnails wake the window, which draws them on its next frame.
        thumbs_->set_on_ready([waker = ctx.waker] { waker.wake(); });
        thumbs_wake_set_ = true;
    }
    text_scale_ = ctx.text.text_scale();
    if (refresh_silently(ctx.now)) redraw_ = true;
    if (rename_ && rename_field_->text() != rename_->text) rename_field_->set_text(rename_->text);
    retry_button_->sync(ctx);
    shell_->sync(ctx);

    std::string text = status_line_text();
    if (text != bubble_text_) {
        bubble_text_ = std::move(text);
        bubble_.poke(ctx.now);
        redraw_ = true;
    }
    Rect pill = bubble_rect(ctx.text);
    Rect hover_zone{pill.left - 40, pill.top - 24, pill.right, pill.bottom};
    bool was = bubble_.hovered();
    bubble_.set_hover(screenshot_hold_ || hover_zone.contains(pointer_));
    if (was != bubble_.hovered()) redraw_ = true;
    if (bubble_.next_change(ctx.now)) redraw_ = true;
}

// ---- layout -----------------------------------------------------------------------------

std::unique_ptr<Widget> FileExplorerWidget::build_content() {
    auto col = std::make_unique<Column>();
    col->add(std::make_unique<HeaderBar>(folder_title(listing_.current), display(listing_.current)));
    file_view_ = nullptr;
    file_scroll_ = nullptr;
    std::string where = display(listing_.current);
    if (listing_.loading) {
        col->add(std::make_unique<StatePanel>(
                     true, i18n::tr("files-loading-title"),
                     i18n::tr_args("files-loading-detail", i18n::MessageArgs().set("path", shorten_path_text(where, 36))),
                     nullptr),
                 1);
    } else if (listing_.load_error) {
        auto detail = i18n::tr_args("files-load-error-detail",
                                    i18n::MessageArgs()
                                        .set("error", short_error_text(*listing_.load_error))
                                        .set("path", shorten_path_text(where, 22)));
        col->add(std::make_unique<StatePanel>(false, i18n::tr("files-load-error-title"), detail, retry_button_.get()),
                 1);
    } else {
        views::FileViewInput in;
        in.entries = &listing_.entries;
        in.selection = selection_;
        in.mode = view_mode_;
        in.sort_key = listing_.sort_key;
        in.descending = listing_.descending;
        in.item_scale = item_scale();
        if (rename_) {
            in.rename_index = rename_->index;
            in.rename_field = rename_field_.get();
        }
        in.pointer = pointer_;
        in.in_trash = in_trash();
        in.keyboard_focus = !rename_ && !sheet_;
        in.in_workspace = in_workspace_;
        in.thumbnails = thumbs_.get();
        in.images = images_.get();
        in.frame = frame_;
        in.queue = queue_;
        auto view = std::make_unique<views::FileView>(std::move(in));
        file_view_ = view.get();
        auto scroll = std::make_unique<Scrollable>(std::move(view), scroll_, "files.file_view.offset");
        file_scroll_ = scroll.get();
        col->add(std::move(scroll), 1);
    }
    return col;
}

void FileExplorerWidget::build_layout(LayoutContext& ctx) {
    text_scale_ = ctx.text.text_scale();
    line_height_ = ctx.text.line_height({14, FontWeight::Regular});
    shell_->set_breakpoint(std::max(1.0f, 640.0f + 900.0f * std::max(0.0f, text_scale_ - 1.0f)));
    if (auto* sb = dynamic_cast<places::PlacesSidebar*>(shell_->sidebar())) sb->set_current(listing_.current);
    shell_->set_content(build_content());
}

void FileExplorerWidget::apply_layout(const Rect& bounds, LayoutContext& ctx) {
    bounds_ = bounds;
    shell_->apply_layout(bounds, ctx);
    if (pending_scroll_to_ && file_view_ && file_scroll_) {
        Rect r = file_view_->entry_rect(*pending_scroll_to_);
        float top = r.top - file_scroll_->content_rect().top, bottom = r.bottom - file_scroll_->content_rect().top;
        file_scroll_->scroll_into_view(top, bottom);
        pending_scroll_to_.reset();
        shell_->apply_layout(bounds, ctx);
    }
}

Rect FileExplorerWidget::content_rect() const { return shell_ ? shell_->content_rect() : bounds_; }

// ---- drawing ----------------------------------------------------------------------------

void FileExplorerWidget::draw(Painter& p, DrawContext& ctx) {
    p.fill_rect(bounds_, ctx.theme.window);
    shell_->draw(p, ctx);
}

Rect FileExplorerWidget::bubble_rect(const TextRenderer& tr) const {
    Size s = status_bubble::pill_size(tr, bubble_text_);
    Rect c = content_rect();
    float m = theme_.margin;
    s.width = std::min(s.width, std::max(0.0f, c.width() - 2 * m - 24));
    return Rect{c.right - m - s.width, c.bottom - m - s.height, c.right - m, c.bottom - m};
}

void FileExplorerWidget::draw_status_bubble(Painter& p, DrawContext& ctx) {
    if (shell_->overlaying() && shell_->sidebar_open()) return;
    float a = bubble_.alpha(ctx.now);
    if (ctx.theme.reduced_motion) a = a > 0 ? 1.0f : 0.0f;
    if (a <= 0) return;
    Rect pill = bubble_rect(p.text_renderer());
    Rect backdrop{pill.left - 12, pill.top - 14, pill.right + 12, pill.bottom + 14};
    {
        PainterSave save(p);
        p.set_opacity(a * 0.85f);
        p.fill_rounded_rect(backdrop, backdrop.height() / 2, ctx.theme.window);
    }
    std::string label = p.text_renderer().fit_ellipsis(bubble_text_, {13, FontWeight::Medium}, pill.width() - 28);
    status_bubble::draw_pill(p, ctx.theme, pill, label, a);
}

std::optional<SheetGeometry> FileExplorerWidget::sheet_geometry_now() const {
    if (!sheet_) return std::nullopt;
    return app::sheet_geometry(content_rect(), sheet_->details.size(), sheet_->kind.has_value(), line_height_);
}

void FileExplorerWidget::draw_sheet(Painter& p, DrawContext& ctx) {
    auto geo = sheet_geometry_now();
    if (!geo) return;
    const Theme& th = ctx.theme;
    Rect content = content_rect();
    p.fill_rect(content, th.scrim.with_alpha(0.72f));
    const Rect& panel = geo->panel;
    chrome::shell::panel_shadow(p, th, panel, 14);
    chrome::shell::panel_ground(p, th, panel, 14);
    chrome::shell::panel_border(p, th, panel, 14);
    const TextRenderer& tr = p.text_renderer();
    TextStyle title{17, FontWeight::SemiBold}, body{14, FontWeight::Regular};
    p.text(tr.fit_ellipsis(sheet_->title, title, geo->title.width()), geo->title, title, th.text, HAlign::Left);
    p.text(tr.fit_ellipsis(sheet_->summary, body, geo->summary.width()), geo->summary, body, th.text_muted,
           HAlign::Left);
    for (std::size_t i = 0; i < geo->lines.size(); ++i) {
        const auto& line = geo->lines[i];
        p.fill_rounded_rect(line.bullet, 1.5f, th.accent);
        p.text(tr.fit_ellipsis(sheet_->details[i], body, line.text.width()), line.text, body, th.text, HAlign::Left);
    }
    if (sheet_->loss && geo->button) {
        Rect loss{panel.left + 24, geo->button->top - 30, panel.right - 24, geo->button->top - 8};
        p.text(tr.fit_ellipsis(*sheet_->loss, body, loss.width()), loss, body, th.danger, HAlign::Left);
    }
    if (geo->button && sheet_->kind)
        Button::paint(p, th, *geo->button, sheet_->kind->button_label,
                      sheet_->kind->destructive ? ButtonStyle::Destructive : ButtonStyle::Primary,
                      geo->button->contains(pointer_), false);
    bool close_hover = geo->close_hit.contains(pointer_);
    if (close_hover) p.fill_ellipse(geo->close.inset(-2, -2), th.hover);
    icons::draw_icon(p, icons::builtin(icons::Builtin::Close), geo->close.inset(6, 6), th.text_muted,
                     icons::Source::BuiltinOnly);
}

void FileExplorerWidget::draw_overlay(Painter& p, DrawContext& ctx) {
    shell_->draw_overlay(p, ctx);
    draw_status_bubble(p, ctx);
    draw_sheet(p, ctx);
}

// ---- tree plumbing ----------------------------------------------------------------------

void FileExplorerWidget::for_each_child(const std::function<void(Widget&)>& fn) { fn(*shell_); }

bool FileExplorerWidget::take_redraw_request() {
    bool r = std::exchange(redraw_, false);
    r = retry_button_->take_redraw_request() || r;
    r = rename_field_->take_redraw_request() || r;
    return shell_->take_redraw_request() || r;
}

std::optional<Instant> FileExplorerWidget::next_wakeup() const {
    std::optional<Instant> best = listing_.next_refresh;
    auto consider = [&](std::optional<Instant> w) {
        if (w && (!best || *w < *best)) best = w;
    };
    consider(shell_->next_wakeup());
    consider(bubble_.next_change(now_));
    return best;
}

// ---- accessibility ----------------------------------------------------------------------

std::optional<a11y::AccessNode> FileExplorerWidget::access_node() const {
    a11y::AccessNode root;
    root.id = "files_root";
    root.role = a11y::Role::Application;
    root.name = i18n::tr("files-a11y-activity");
    root.value = i18n::tr_args("files-a11y-current-folder", i18n::MessageArgs().set("path", display(listing_.current)));
    root.states.busy = listing_.loading;
    root.bounds = bounds_;
    if (sheet_) {
        a11y::AccessNode panel;
        panel.id = "files_sheet";
        panel.role = a11y::Role::Dialog;
        std::string details;
        for (const auto& d : sheet_->details) details += (details.empty() ? "" : ". ") + d;
        panel.name = sheet_->confirmation
                         ? i18n::tr_args("files-a11y-dialog-close", i18n::MessageArgs().set("summary", sheet_->summary))
                         : i18n::tr_args("files-a11y-panel-details", i18n::MessageArgs()
                                                                         .set("title", sheet_->title)
                                                                         .set("summary", sheet_->summary)
                                                                         .set("details", details));
        if (auto g = sheet_geometry_now()) panel.bounds = g->panel;
        panel.states.focused = true;
        root.children.push_back(std::move(panel));
    }
    if (listing_.loading) {
        a11y::AccessNode n;
        n.id = "files_loading";
        n.role = a11y::Role::ProgressIndicator;
        n.name = i18n::tr_args("files-loading-folder", i18n::MessageArgs().set("path", display(listing_.current)));
        n.states.busy = true;
        root.children.push_back(std::move(n));
    } else if (listing_.load_error) {
        a11y::AccessNode n;
        n.id = "files_load_error";
        n.role = a11y::Role::Label;
        n.name = i18n::tr_args("files-a11y-load-error", i18n::MessageArgs().set("error", *listing_.load_error));
        if (auto b = retry_button_->access_node()) {
            b->id = "files-retry-folder";
            b->name = i18n::tr("files-try-again");
            n.children.push_back(std::move(*b));
        }
        root.children.push_back(std::move(n));
    }
    a11y::AccessNode status;
    status.id = "files_status";
    status.role = a11y::Role::StatusBar;
    status.value = status_line_text();
    root.children.push_back(std::move(status));
    if (auto* sb = shell_->sidebar())
        if (auto n = sb->access_node()) root.children.push_back(std::move(*n));
    if (file_view_) {
        if (auto n = file_view_->access_node()) {
            if (listing_.entries.empty())
                n->value = i18n::tr(in_trash() ? "files-empty-trash" : "files-empty-folder");
            root.children.push_back(std::move(*n));
        }
    }
    return root;
}

}  // namespace files::app

namespace files::app {

bool FileExplorerWidget::access_action(std::string_view node_id, std::string_view action) {
    if (action != "activate") return false;
    if (node_id == "files-retry-folder" && listing_.load_error) {
        reload();
        return true;
    }
    constexpr std::string_view row = "file_row:";
    if (!node_id.starts_with(row)) return false;
    std::size_t index = 0;
    for (char c : node_id.substr(row.size())) {
        if (c < '0' || c > '9') return false;
        index = index * 10 + std::size_t(c - '0');
    }
    if (index >= listing_.entries.size()) return false;
    push_command(cmd::OpenEntry{index});
    drain_commands();
    return true;
}

}  // namespace files::app

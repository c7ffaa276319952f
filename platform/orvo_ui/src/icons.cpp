#include <orvo_ui/icons.hpp>
#include <orvo_ui/painter.hpp>

namespace orvo_ui::icons {

Icon builtin(Builtin b) { return Icon{b, {}}; }

Icon icon_for_mime(std::string_view, bool is_dir) { return is_dir ? Icon{Builtin::Folder, "folder"} : Icon{Builtin::File, "text-x-generic"}; }

Icon icon_for_path(const std::filesystem::path&, bool is_dir) { return icon_for_mime({}, is_dir); }

bool theme_has(std::string_view) { return false; }

void draw_icon(Painter& p, const Icon& icon, const Rect& r, Color color, Source) {
    float s = std::min(r.width(), r.height());
    Rect sq = Rect::from_xywh(r.center().x - s / 2, r.center().y - s / 2, s, s);
    if (icon.builtin == Builtin::Folder) p.fill_rounded_rect(sq.inset(s * 0.08f, s * 0.18f), s * 0.1f, Color::rgb(0x5b9be6));
    else p.stroke_rounded_rect(sq.inset(s * 0.2f, s * 0.08f), s * 0.08f, color, std::max(1.0f, s / 16));
}

}  // namespace orvo_ui::icons

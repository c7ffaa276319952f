#include <orvo_ui/painter.hpp>
#include <orvo_ui/widget.hpp>

namespace orvo_ui {

Widget* find_widget(Widget& root, std::string_view id) {
    if (root.widget_id() == id) return &root;
    Widget* found = nullptr;
    root.for_each_child([&](Widget& c) {
        if (!found) found = find_widget(c, id);
    });
    return found;
}

void compute_widget_layout(Widget& root, const Rect& viewport, LayoutContext& ctx) {
    // A tree that keeps reporting changes would loop forever; three passes settle every case we have.
    for (int pass = 0; pass < 3; ++pass) {
        root.build_layout(ctx);
        root.apply_layout(viewport, ctx);
        if (!root.take_structure_dirty()) break;
    }
}

void run_frame(Widget& root, Painter& p, const Rect& viewport, FrameContext& frame, float scale) {
    root.sync(frame);
    LayoutContext lctx{frame.theme, frame.text, scale};
    compute_widget_layout(root, viewport, lctx);
    DrawContext dctx{frame.theme, frame.now, viewport, viewport};
    root.draw(p, dctx);
    root.draw_overlay(p, dctx);
}

}  // namespace orvo_ui

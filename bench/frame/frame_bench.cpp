// One offscreen frame of a 100,000-entry listing against a 100-entry one, same window, same
// state: drawing must cost what is on screen, not what is in the folder.
#include <orvo_ui/launch.hpp>
#include <orvo_ui/offscreen.hpp>
#include <orvo_ui/painter.hpp>
#include <orvo_ui/text.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "files_app/files_app.hpp"

using namespace orvo_ui;

namespace {

std::vector<files::model::FolderEntry> entries(std::size_t n) {
    std::vector<files::model::FolderEntry> out;
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        files::model::FolderEntry e;
        // The same kinds repeat, so the first screenful looks alike at either size.
        static const char* const kinds[] = {".txt", ".png", ".pdf", ".ods", ".zip", ".mp3", ""};
        e.name = "Document " + std::to_string(i) + kinds[i % 7];
        e.path = "/nonexistent-bench/" + e.name;
        e.type = "application/octet-stream";
        e.size = i * 131;
        e.modified = files::model::FileTime{1'700'000'000 + std::int64_t(i), 0};
        out.push_back(std::move(e));
    }
    return out;
}

struct Frame {
    std::unique_ptr<files::app::FileExplorerWidget> w = files::app::FileExplorerWidget::create(files::app::StartupMode::Screenshot);
    Theme theme = launch::shot_theme();
    TextRenderer text;
    OffscreenRenderer renderer{1280, 800};

    explicit Frame(std::size_t n, files::app::ViewMode mode) {
        w->listing_mut().entries = entries(n);
        w->listing_mut().next_refresh = Clock::now() + std::chrono::hours(1);  // no disk reads mid-bench
        w->set_view_mode(mode);
        w->selection_mut().select_only(3);
    }
    double once() {
        auto t0 = std::chrono::steady_clock::now();
        FrameContext f{Clock::now(), theme, text, {}, nullptr};
        auto img = renderer.render_resilient(text, [&](Painter& p) { run_frame(*w, p, Rect{0, 0, 1280, 800}, f, 1); });
        if (!img) std::abort();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    }
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    ensure_gui();
    for (auto mode : {files::app::ViewMode::List, files::app::ViewMode::Grid}) {
        Frame big(100'000, mode), small(100, mode);
        for (int i = 0; i < 5; ++i) {
            big.once();
            small.once();
        }
        std::vector<double> tb, ts;
        for (int i = 0; i < 40; ++i) {
            tb.push_back(big.once());
            ts.push_back(small.once());
        }
        double mb = median(tb), ms = median(ts);
        const char* name = mode == files::app::ViewMode::List ? "list" : "grid";
        std::printf("%s: 100,000 entries %.2f ms, 100 entries %.2f ms per frame; ratio %.2f (target 1.2 or less)\n",
                    name, mb, ms, mb / ms);
    }
}

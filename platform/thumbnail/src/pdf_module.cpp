// The PDF renderer as a module of its own: poppler and the two dozen libraries it pulls in are
// loaded only when the first PDF needs a thumbnail, not at every start of the program.
#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-image.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

namespace {
void quiet(const std::string&, void*) {}
}  // namespace

// Renders page one to fit `box` on its long side, as premultiplied ARGB32 rows of width * 4
// bytes; returns a malloc'd buffer the caller frees, or null.
extern "C" __attribute__((visibility("default"))) unsigned char* orvo_thumbnail_render_pdf(const char* path,
                                                                                         unsigned box, int* width,
                                                                                         int* height) {
    // poppler keeps process-wide state; one document at a time is the safe use.
    static std::mutex poppler_mutex;
    std::lock_guard lock(poppler_mutex);
    static std::once_flag once;
    std::call_once(once, [] { poppler::set_debug_error_function(quiet, nullptr); });
    try {
        std::unique_ptr<poppler::document> doc(poppler::document::load_from_file(path));
        if (!doc || doc->is_locked() || doc->pages() < 1) return nullptr;
        std::unique_ptr<poppler::page> page(doc->create_page(0));
        if (!page) return nullptr;
        const poppler::rectf rect = page->page_rect(poppler::crop_box);
        const double longest = std::max(rect.width(), rect.height());
        if (!(longest > 0.5)) return nullptr;
        const double dpi = 72.0 * box / longest;
        poppler::page_renderer renderer;
        renderer.set_render_hint(poppler::page_renderer::antialiasing, true);
        renderer.set_render_hint(poppler::page_renderer::text_antialiasing, true);
        renderer.set_image_format(poppler::image::format_argb32);
        const poppler::image img = renderer.render_page(page.get(), dpi, dpi);
        if (!img.is_valid() || img.width() <= 0 || img.height() <= 0) return nullptr;
        const int w = img.width(), h = img.height();
        auto* out = static_cast<unsigned char*>(std::malloc(std::size_t(w) * std::size_t(h) * 4));
        if (!out) return nullptr;
        for (int y = 0; y < h; ++y)
            std::memcpy(out + std::size_t(y) * std::size_t(w) * 4, img.const_data() + std::size_t(y) * img.bytes_per_row(),
                        std::size_t(w) * 4);
        *width = w;
        *height = h;
        return out;
    } catch (...) {
        return nullptr;
    }
}

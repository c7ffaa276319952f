// First page of a PDF through poppler-cpp.
#include "decode.hpp"

#ifdef THUMBNAIL_HAVE_POPPLER
#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-image.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>

#include <algorithm>
#include <mutex>
#endif

namespace thumbnail::detail {

#ifdef THUMBNAIL_HAVE_POPPLER
namespace {
void quiet(const std::string&, void*) {}
}  // namespace

std::optional<QImage> render_pdf(const std::filesystem::path& path, unsigned box) {
    // poppler keeps process-wide state; one document at a time is the safe use.
    static std::mutex poppler_mutex;
    std::lock_guard lock(poppler_mutex);
    static std::once_flag once;
    std::call_once(once, [] { poppler::set_debug_error_function(quiet, nullptr); });
    try {
        std::unique_ptr<poppler::document> doc(poppler::document::load_from_file(path.native()));
        if (!doc || doc->is_locked() || doc->pages() < 1) return std::nullopt;
        std::unique_ptr<poppler::page> page(doc->create_page(0));
        if (!page) return std::nullopt;
        const poppler::rectf rect = page->page_rect(poppler::crop_box);
        const double longest = std::max(rect.width(), rect.height());
        if (!(longest > 0.5)) return std::nullopt;
        const double dpi = 72.0 * box / longest;
        poppler::page_renderer renderer;
        renderer.set_render_hint(poppler::page_renderer::antialiasing, true);
        renderer.set_render_hint(poppler::page_renderer::text_antialiasing, true);
        renderer.set_image_format(poppler::image::format_argb32);
        const poppler::image img = renderer.render_page(page.get(), dpi, dpi);
        if (!img.is_valid() || img.width() <= 0 || img.height() <= 0) return std::nullopt;
        QImage view(reinterpret_cast<const uchar*>(img.const_data()), img.width(), img.height(),
                    img.bytes_per_row(), QImage::Format_ARGB32_Premultiplied);
        QImage out = view.copy();  // `img` owns the pixels
        if (std::max(out.width(), out.height()) > static_cast<int>(box))
            out = out.scaled(fit_size(out.size(), box), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (out.isNull()) return std::nullopt;
        return out;
    } catch (...) {
        return std::nullopt;
    }
}
#else
std::optional<QImage> render_pdf(const std::filesystem::path&, unsigned) { return std::nullopt; }
#endif

}  // namespace thumbnail::detail

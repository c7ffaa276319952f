// First page of a PDF, through the renderer module loaded on first use.
#include "decode.hpp"

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace thumbnail::detail {

namespace {

using RenderFn = unsigned char* (*)(const char*, unsigned, int*, int*);

std::string exe_dir() {
    std::array<char, 4096> buf{};
    ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0) return {};
    std::string p(buf.data(), std::size_t(n));
    return p.substr(0, p.rfind('/'));
}

RenderFn load_renderer() {
    static RenderFn fn = [] () -> RenderFn {
        std::vector<std::string> candidates;
        if (const char* env = std::getenv("ORVO_THUMBNAIL_PDF_MODULE"); env && *env) candidates.emplace_back(env);
        std::string dir = exe_dir();
        if (!dir.empty()) {
            candidates.push_back(dir + "/" THUMBNAIL_PDF_MODULE_NAME);
            candidates.push_back(dir + "/../" THUMBNAIL_PDF_MODULE_LIBDIR "/" THUMBNAIL_PDF_MODULE_NAME);
        }
#ifdef THUMBNAIL_PDF_MODULE_BUILD_PATH
        candidates.emplace_back(THUMBNAIL_PDF_MODULE_BUILD_PATH);
#endif
        for (const auto& c : candidates)
            if (void* h = ::dlopen(c.c_str(), RTLD_NOW | RTLD_LOCAL))
                if (auto* f = reinterpret_cast<RenderFn>(::dlsym(h, "orvo_thumbnail_render_pdf"))) return f;
        return nullptr;
    }();
    return fn;
}

}  // namespace

std::optional<QImage> render_pdf(const std::filesystem::path& path, unsigned box) {
    RenderFn render = load_renderer();
    if (!render) return std::nullopt;
    int w = 0, h = 0;
    unsigned char* pixels = render(path.c_str(), box, &w, &h);
    if (!pixels) return std::nullopt;
    QImage out = QImage(pixels, w, h, w * 4, QImage::Format_ARGB32_Premultiplied).copy();
    std::free(pixels);
    if (std::max(out.width(), out.height()) > static_cast<int>(box))
        out = out.scaled(fit_size(out.size(), box), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (out.isNull()) return std::nullopt;
    return out;
}

}  // namespace thumbnail::detail

#include "native_observer/observer.hpp"

#include <orvo_ui/widgets.hpp>

#include <nlohmann/json.hpp>
#include <thumbnail/service.hpp>
#include <openssl/evp.h>

#include <cmath>
#include <memory>

#include "files_app/app_id.hpp"
#include "files_app/files_app.hpp"
#include "model/utf8.hpp"

namespace files::native_observer {

using nlohmann::ordered_json;

std::string order_hash(const std::vector<model::FolderEntry>& entries) {
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr);
    for (const auto& e : entries) {
        std::uint64_t n = e.name.size();
        unsigned char len[8];
        for (int i = 0; i < 8; ++i) len[i] = static_cast<unsigned char>(n >> (8 * i));
        EVP_DigestUpdate(ctx.get(), len, 8);
        EVP_DigestUpdate(ctx.get(), e.name.data(), e.name.size());
        unsigned char dir = e.is_dir ? 1 : 0;
        EVP_DigestUpdate(ctx.get(), &dir, 1);
    }
    unsigned char md[32];
    unsigned int md_len = 0;
    EVP_DigestFinal_ex(ctx.get(), md, &md_len);
    static constexpr char hex[] = "0123456789abcdef";
    std::string out;
    for (unsigned i = 0; i < md_len; ++i) {
        out += hex[md[i] >> 4];
        out += hex[md[i] & 15];
    }
    return out;
}

namespace {

const orvo_ui::Scrollable* find_file_view_scroll(orvo_ui::Widget& w) {
    if (auto* s = dynamic_cast<orvo_ui::Scrollable*>(&w); s && s->child().widget_id() == "file_view") return s;
    const orvo_ui::Scrollable* found = nullptr;
    w.for_each_child([&](orvo_ui::Widget& c) {
        if (!found) found = find_file_view_scroll(c);
    });
    return found;
}

ordered_json rect_json(const orvo_ui::Rect& r) { return ordered_json::array({r.left, r.top, r.right, r.bottom}); }

const char* sort_name(model::SortKey k) {
    switch (k) {
        case model::SortKey::Name: return "Name";
        case model::SortKey::Size: return "Size";
        case model::SortKey::Modified: return "Modified";
        case model::SortKey::Type: return "Type";
    }
    return "Name";
}

}  // namespace

std::string observer_snapshot(const app::FileExplorerWidget& w) {
    const auto& l = w.listing();
    // The search only reads; the tree walk needs a mutable handle.
    auto* scroll = find_file_view_scroll(const_cast<app::FileExplorerWidget&>(w));
    orvo_ui::Rect root = w.bounds();
    bool ready = !l.loading && !l.load_error && root.is_finite_nonempty() && scroll &&
                 scroll->viewport_rect().is_finite_nonempty() && scroll->content_rect().is_finite_nonempty();
    ordered_json j;
    j["app"] = app::kAppId;
    j["view_id"] = "file_view";
    j["directory"] = text::lossy_utf8(l.current.native());
    j["entry_count"] = l.entries.size();
    j["order_hash"] = order_hash(l.entries);
    j["hash_algorithm"] = "sha256";
    j["ready"] = ready;
    j["is_loading"] = l.loading;
    j["has_error"] = l.load_error.has_value();
    j["thumbnail_pending"] = w.thumbnails() ? ordered_json(w.thumbnails()->pending()) : ordered_json(nullptr);
    const auto& sel = w.selection();
    auto indices = ordered_json::array();
    auto names = ordered_json::array();
    for (auto i : sel.selected()) {
        indices.push_back(i);
        names.push_back(i < l.entries.size() ? l.entries[i].name : std::string());
    }
    j["selected_indices"] = std::move(indices);
    j["selected_names"] = std::move(names);
    j["primary_index"] = sel.focus() ? ordered_json(*sel.focus()) : ordered_json(nullptr);
    j["offset_x"] = w.scroll_offset().x;
    j["offset_y"] = w.scroll_offset().y;
    j["offset_units"] = "pixels";
    j["last_cursor"] = ordered_json::array({w.last_pointer().x, w.last_pointer().y});
    j["root_rect"] = rect_json(root);
    j["viewport_rect"] = scroll ? rect_json(scroll->viewport_rect()) : ordered_json(nullptr);
    j["content_rect"] = scroll ? rect_json(scroll->content_rect()) : ordered_json(nullptr);
    j["view_mode"] = w.view_mode() == app::ViewMode::List ? "List" : "Grid";
    j["sort_by"] = sort_name(l.sort_key);
    j["sort_order"] = l.descending ? "Descending" : "Ascending";
    return j.dump();
}

}  // namespace files::native_observer

#pragma once
// The places beside the content: home, the user's folders, the root and Trash.
#include <orvo_ui/icons.hpp>
#include <orvo_ui/widget.hpp>

#include <filesystem>
#include <string>
#include <vector>

#include "files_app/commands.hpp"
#include "files_app/startup.hpp"

namespace files::places {

struct Place {
    std::string label;
    std::filesystem::path path;
    orvo_ui::icons::Icon icon;
};

std::vector<Place> system_places(const app::StartupDirs& dirs);

class PlacesSidebar final : public orvo_ui::Widget {
public:
    PlacesSidebar(std::vector<Place> places, app::CommandQueueHandle queue);

    void set_current(std::filesystem::path current) { current_ = std::move(current); }
    std::string_view widget_id() const override { return "places_sidebar"; }
    void draw(orvo_ui::Painter& p, orvo_ui::DrawContext& ctx) override;
    orvo_ui::EventResult handle_event(const orvo_ui::Event& e, orvo_ui::EventContext& ctx) override;
    bool take_redraw_request() override;

private:
    orvo_ui::Rect row_rect(size_t i) const;
    std::vector<Place> places_;
    app::CommandQueueHandle queue_;
    std::filesystem::path current_;
    std::optional<size_t> hovered_;
    bool redraw_ = false;
};

}  // namespace files::places

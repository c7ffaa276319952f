#include <orvo_ui/theme.hpp>

#include <cstdlib>
#include <string>
#include <string_view>

namespace orvo_ui {

Theme Theme::light() {
    Theme t;
    t.dark = false;
    t.window = Color::rgb(0xffffff);
    t.sidebar = Color::rgb(0xf4f5f7);
    t.surface = Color::rgb(0xfafbfc);
    t.surface_alt = Color::rgb(0xf6f7f9);
    t.text = Color::rgb(0x1d2129);
    t.text_muted = Color::rgb(0x5f6673);
    t.text_on_accent = Color::rgb(0xffffff);
    t.accent = Color::rgb(0x2f6fde);
    t.accent_soft = Color::rgb(0xdce8fb);
    t.hover = Color::rgb(0xeef1f5);
    t.border = Color::rgb(0xdfe2e7);
    t.focus_ring = Color::rgba(0x2f6fde, 170);
    t.danger = Color::rgb(0xc93535);
    t.scrim = Color::rgba(0x151a22, 110);
    t.shadow = Color::rgba(0x000000, 40);
    return t;
}

Theme Theme::dark_theme() {
    Theme t = light();
    t.dark = true;
    t.window = Color::rgb(0x1e2127);
    t.sidebar = Color::rgb(0x25282f);
    t.surface = Color::rgb(0x2a2e35);
    t.surface_alt = Color::rgb(0x23262c);
    t.text = Color::rgb(0xe8eaee);
    t.text_muted = Color::rgb(0xa3a9b4);
    t.accent = Color::rgb(0x5b93f0);
    t.accent_soft = Color::rgb(0x2d3f5e);
    t.hover = Color::rgb(0x30343c);
    t.border = Color::rgb(0x3a3f48);
    t.focus_ring = Color::rgba(0x5b93f0, 190);
    t.danger = Color::rgb(0xe26060);
    t.scrim = Color::rgba(0x000000, 140);
    t.shadow = Color::rgba(0x000000, 90);
    return t;
}

namespace theme {

Theme current() {
    auto env = [](const char* n) -> std::string_view {
        const char* v = std::getenv(n);
        return v ? std::string_view(v) : std::string_view();
    };
    bool dark = env("ORVO_UI_COLOR_SCHEME") == "dark" || env("GTK_THEME").ends_with(":dark");
    Theme t = dark ? Theme::dark_theme() : Theme::light();
    if (auto s = env("ORVO_UI_TEXT_SCALE"); !s.empty()) {
        char* end = nullptr;
        std::string copy(s);
        float v = std::strtof(copy.c_str(), &end);
        if (end && *end == '\0' && v >= 0.5f && v <= 4.0f) t.text_scale = v;
    }
    t.reduced_motion = env("ORVO_UI_REDUCED_MOTION") == "1";
    return t;
}

}  // namespace theme
}  // namespace orvo_ui

// The place of a window other than the main one between runs, in a section
// of its own in Window.ini: keys Left, Top, Width, Height (the normal place
// and size of the window's inside) and Maximized.
#pragma once

#include <optional>
#include <string_view>

#include "reading/window_state.h"

namespace teluri {

struct WindowPlace {
    ScreenRect normal;
    bool maximized = false;
};

// The saved place; nothing when the section holds no usable size (missing,
// or a width or height of 0 or below).
std::optional<WindowPlace> ReadWindowPlace(const SettingsFile& ini, std::string_view section);
void WriteWindowPlace(SettingsFile& ini, std::string_view section, const WindowPlace& place);

}  // namespace teluri

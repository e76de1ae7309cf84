// Qt's rectangles as the toolkit-free rules for a window's remembered place
// take them (reading/window_state.h).
#pragma once

#include <QGuiApplication>
#include <QRect>
#include <QScreen>

#include <vector>

#include "reading/window_state.h"

namespace teluri {

inline ScreenRect ToScreenRect(const QRect& rect) {
    return {rect.left(), rect.top(), rect.width(), rect.height()};
}

// The available areas of every screen.
inline std::vector<ScreenRect> AvailableScreens() {
    std::vector<ScreenRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens.push_back(ToScreenRect(screen->availableGeometry()));
    }
    return screens;
}

}  // namespace teluri

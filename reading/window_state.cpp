#include "reading/window_state.h"

#include <algorithm>

#include "base/paths.h"
#include "reading/window_place.h"
#include "settings/settings_file.h"

namespace teluri {
namespace {

constexpr std::string_view kSection = "Window";
constexpr int kVisibleWidth = 48;
constexpr int kVisibleHeight = 24;

// The length of [start, start + length) within [screenStart, screenStart +
// screenLength), or a negative number.
long long Overlap(int start, int length, int screenStart, int screenLength) {
    const long long first = std::max<long long>(start, screenStart);
    const long long last = std::min<long long>(static_cast<long long>(start) + length,
                                               static_cast<long long>(screenStart) + screenLength);
    return last - first;
}

// One side of a window longer than the screen's: cut to it, and the window
// placed at the screen's start on that side.
void FitSide(int& start, int& length, int screenStart, int screenLength) {
    if (length > screenLength) {
        length = screenLength;
        start = screenStart;
    }
}

}  // namespace

std::string WindowStateFilePath() {
    return ProgramFile(kWindowStateFileName);
}

std::optional<WindowState> ReadWindowState(const SettingsFile& ini) {
    const std::optional<WindowPlace> place = ReadWindowPlace(ini, kSection);
    if (!place) {
        return std::nullopt;
    }
    WindowState state;
    state.normal = place->normal;
    state.maximized = place->maximized;
    state.treeWidth = ini.ReadNumber(kSection, "TreeWidth", 0);
    state.toolBarFolded = ini.ReadFlag(kSection, "ToolBarFolded", false);
    return state;
}

void WriteWindowState(SettingsFile& ini, const WindowState& state) {
    WriteWindowPlace(ini, kSection, {state.normal, state.maximized});
    ini.WriteNumber(kSection, "TreeWidth", state.treeWidth);
    ini.WriteFlag(kSection, "ToolBarFolded", state.toolBarFolded);
}

std::optional<ScreenRect> FitOnScreens(const ScreenRect& window,
                                       const std::vector<ScreenRect>& screens) {
    const ScreenRect* shownOn = nullptr;
    long long shownArea = 0;
    for (const ScreenRect& screen : screens) {
        // 64-bit: saved values may be anywhere in the int range.
        const long long width = Overlap(window.left, window.width, screen.left, screen.width);
        const long long height = Overlap(window.top, window.height, screen.top, screen.height);
        if (width >= kVisibleWidth && height >= kVisibleHeight && width * height > shownArea) {
            shownOn = &screen;
            shownArea = width * height;
        }
    }
    if (shownOn == nullptr) {
        return std::nullopt;
    }
    ScreenRect fitted = window;
    FitSide(fitted.left, fitted.width, shownOn->left, shownOn->width);
    FitSide(fitted.top, fitted.height, shownOn->top, shownOn->height);
    return fitted;
}

}  // namespace teluri

#include "reading/window_state.h"

#include <algorithm>

#include "base/paths.h"
#include "settings/settings_file.h"

namespace teluri {
namespace {

constexpr std::string_view kSection = "Window";
constexpr int kVisibleWidth = 48;
constexpr int kVisibleHeight = 24;

}  // namespace

std::string WindowStateFilePath() {
    return ProgramFile(kWindowStateFileName);
}

std::optional<WindowState> ReadWindowState(const SettingsFile& ini) {
    WindowState state;
    state.normal.width = ini.ReadNumber(kSection, "Width", 0);
    state.normal.height = ini.ReadNumber(kSection, "Height", 0);
    if (state.normal.width <= 0 || state.normal.height <= 0) {
        return std::nullopt;
    }
    state.normal.left = ini.ReadNumber(kSection, "Left", 0);
    state.normal.top = ini.ReadNumber(kSection, "Top", 0);
    state.maximized = ini.ReadFlag(kSection, "Maximized", false);
    state.treeWidth = ini.ReadNumber(kSection, "TreeWidth", 0);
    state.toolBarFolded = ini.ReadFlag(kSection, "ToolBarFolded", false);
    return state;
}

void WriteWindowState(SettingsFile& ini, const WindowState& state) {
    ini.WriteNumber(kSection, "Left", state.normal.left);
    ini.WriteNumber(kSection, "Top", state.normal.top);
    ini.WriteNumber(kSection, "Width", state.normal.width);
    ini.WriteNumber(kSection, "Height", state.normal.height);
    ini.WriteFlag(kSection, "Maximized", state.maximized);
    ini.WriteNumber(kSection, "TreeWidth", state.treeWidth);
    ini.WriteFlag(kSection, "ToolBarFolded", state.toolBarFolded);
}

bool IsOnSomeScreen(const ScreenRect& window, const std::vector<ScreenRect>& screens) {
    return std::any_of(screens.begin(), screens.end(), [&window](const ScreenRect& screen) {
        // 64-bit: saved values may be anywhere in the int range.
        const long long left = std::max<long long>(window.left, screen.left);
        const long long top = std::max<long long>(window.top, screen.top);
        const long long right =
            std::min<long long>(static_cast<long long>(window.left) + window.width,
                                static_cast<long long>(screen.left) + screen.width);
        const long long bottom =
            std::min<long long>(static_cast<long long>(window.top) + window.height,
                                static_cast<long long>(screen.top) + screen.height);
        return right - left >= kVisibleWidth && bottom - top >= kVisibleHeight;
    });
}

}  // namespace teluri

// The main window's place and shape between runs, in Window.ini in the
// program's folder (section "Window"): its normal position and size, whether
// it is maximised, the width of the tree's pane and whether the tool bar is
// folded. Written and read through the settings accessor.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace teluri {

class SettingsFile;

inline constexpr std::string_view kWindowStateFileName = "Window.ini";

// "Window.ini" in the program's folder.
std::string WindowStateFilePath();

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const ScreenRect&) const = default;
};

struct WindowState {
    ScreenRect normal;
    bool maximized = false;
    int treeWidth = 0;
    bool toolBarFolded = false;
};

// The saved state; nothing when the file holds no usable size (missing, or
// a width or height of 0 or below).
std::optional<WindowState> ReadWindowState(const SettingsFile& ini);
void WriteWindowState(SettingsFile& ini, const WindowState& state);

// Where `window` is restored on `screens` (their available areas): nothing
// when no screen shows enough of it to be seen and moved (a 48 x 24 pixel
// piece). Otherwise on the screen that shows the most of it, a width or
// height larger than that screen's is cut to the screen's and the window
// moved into the screen along that side; a window that fits keeps its
// place, partly off the screen as it may be.
std::optional<ScreenRect> FitOnScreens(const ScreenRect& window,
                                       const std::vector<ScreenRect>& screens);

}  // namespace teluri

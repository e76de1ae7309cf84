// How often a screen shows a new picture: runs that hold the GUI thread
// draw their progress at most once per display frame.
#pragma once

namespace teluri {

inline constexpr int kDisplayFrameMilliseconds = 16;

}  // namespace teluri

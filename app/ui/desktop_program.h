// What makes the window program a desktop program: the toolkit's dialogs in
// Japanese, the program's icon, and the name of its desktop entry, by which
// the desktop matches the windows to the entry's icon and name.
#pragma once

namespace teluri {

// Call once, after the application object is made.
void SetUpDesktopProgram();

}  // namespace teluri

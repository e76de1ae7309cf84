// The program's pictures, drawn in code: the family marks of the board's two
// subject families, the tool bar glyphs, the logos and the progress
// animation.
#pragma once

#include <QIcon>
#include <QPixmap>

class QPainter;

namespace teluri {

// A yellow temple front with columns: the Delphi family.
QPixmap TemplePicture(int size);
// A blue group of tall buildings: the C++Builder family.
QPixmap BuildingsPicture(int size);
// A grey and yellow page crossed out in red: a page whose file is missing.
QPixmap MissingPagePicture(int size);

// 16 x 16 tool bar glyphs.
QPixmap OpenFolderGlyph();
QPixmap PrintGlyph();
QPixmap CopyGlyph();
QPixmap FindGlyph();
QPixmap HelpGlyph();

// The program's logo at the given size.
QPixmap LogoPicture(int width, int height);

// The program's icon, the logo's thread tree on its sky in a rounded square,
// drawn on any painter (pixmaps, the icon files of the installation) into
// a square of `size` units from the origin.
void DrawProgramIcon(QPainter& painter, qreal size);
// The icon at the sizes the desktop asks for.
QIcon ProgramIcon();

// Frame `frame` (0-22) of the 48 x 50 animation of a magnifier passing over
// files, shown while a folder is analysed.
QPixmap FindFileFrame(int frame);
inline constexpr int kFindFileFrames = 23;

}  // namespace teluri

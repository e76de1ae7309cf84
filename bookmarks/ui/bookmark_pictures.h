// The pictures of the bookmark windows, drawn in code: the family marks of
// the menu entries, the editor's button glyphs and the add dialog's icon.
#pragma once

#include <QPixmap>

#include <string_view>

namespace teluri {

// The 12 x 12 family marks of the menu entries: blue building blocks for the
// C++Builder family (imgCBuilder), a yellow temple front for Delphi
// (imgDelphi).
QPixmap BuilderMark();
QPixmap DelphiMark();
// The mark of a bookmark line, chosen by IsBuilderTitle on the whole line.
QPixmap FamilyMark(std::string_view line);

// The editor's 25 x 25 button glyphs (drawn at 16 x 16).
QPixmap UpArrowGlyph();
QPixmap DownArrowGlyph();
QPixmap DeleteGlyph();

// The add dialog's 32 x 32 icon: a book with a red ribbon.
QPixmap BookmarkIconPicture();

}  // namespace teluri

// The Japanese fonts the program pins its windows and pages to. Without
// them Qt would draw Latin letters and kana from different fonts, or empty
// boxes where no installed font has the glyphs.
#pragma once

#include <QFont>
#include <QString>

namespace teluri {

// An installed proportional Japanese family (in place of "ＭＳ Ｐゴシック"),
// or an empty text when none is installed.
QString JapaneseUiFamily();

// An installed fixed-pitch Japanese family (in place of "ＭＳ ゴシック").
QString JapaneseFixedFamily();

// The windows' font: the proportional family at 12 pixels.
QFont WindowFont();

}  // namespace teluri

#include "base/ui/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace teluri {
namespace {

QString FirstInstalled(const QStringList& candidates) {
    const QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
    for (const QString& candidate : candidates) {
        if (families.contains(candidate, Qt::CaseInsensitive)) {
            return candidate;
        }
    }
    return families.isEmpty() ? QString() : families.first();
}

}  // namespace

QString JapaneseUiFamily() {
    static const QString family =
        FirstInstalled({"IPAPGothic", "IPAexGothic", "Noto Sans CJK JP", "VL PGothic",
                        "TakaoPGothic", "IPAGothic", "Noto Sans Mono CJK JP"});
    return family;
}

QString JapaneseFixedFamily() {
    static const QString family = FirstInstalled(
        {"IPAGothic", "Noto Sans Mono CJK JP", "VL Gothic", "TakaoGothic", "IPAPGothic"});
    return family;
}

QFont WindowFont() {
    QFont font(JapaneseUiFamily());
    font.setPixelSize(12);
    return font;
}

}  // namespace teluri

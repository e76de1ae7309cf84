#include "bookmarks/ui/bookmark_pictures.h"

#include <QPainter>
#include <QPolygonF>

#include "base/bytes.h"
#include "base/ui/pictures.h"

namespace teluri {
namespace {

constexpr int kMarkSize = 12;
constexpr int kGlyphSize = 16;

QPixmap Blank(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A red arrow on a 16-unit grid, pointing up, or down when `down`.
QPixmap Arrow(bool down) {
    QPixmap pixmap = Blank(kGlyphSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (down) {
        p.translate(0, kGlyphSize);
        p.scale(1, -1);
    }
    p.setPen(QPen(QColor(128, 0, 0), 1));
    p.setBrush(QColor(220, 0, 0));
    p.drawPolygon(
        QPolygonF({QPointF(8, 1.5), QPointF(14.5, 8), QPointF(10.5, 8), QPointF(10.5, 14.5),
                   QPointF(5.5, 14.5), QPointF(5.5, 8), QPointF(1.5, 8)}));
    return pixmap;
}

}  // namespace

QPixmap BuilderMark() {
    return BuildingsPicture(kMarkSize);
}

QPixmap DelphiMark() {
    return TemplePicture(kMarkSize);
}

QPixmap FamilyMark(std::string_view line) {
    return IsBuilderTitle(line) ? BuilderMark() : DelphiMark();
}

QPixmap UpArrowGlyph() {
    return Arrow(false);
}

QPixmap DownArrowGlyph() {
    return Arrow(true);
}

QPixmap DeleteGlyph() {
    QPixmap pixmap = Blank(kGlyphSize);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2.5, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    return pixmap;
}

QPixmap BookmarkIconPicture() {
    QPixmap pixmap = Blank(32);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // The cover, the pages' edge, and the ribbon hanging out below.
    p.setPen(QPen(QColor(0, 0, 80), 1));
    p.setBrush(QColor(40, 80, 180));
    p.drawRoundedRect(QRectF(5.5, 2.5, 20, 25), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8.5, 25.5, 17, 3));
    p.setPen(QPen(QColor(120, 0, 0), 1));
    p.setBrush(QColor(220, 30, 30));
    p.drawPolygon(QPolygonF({QPointF(17.5, 2.5), QPointF(22.5, 2.5), QPointF(22.5, 30.5),
                             QPointF(20, 27.5), QPointF(17.5, 30.5)}));
    p.setPen(QPen(QColor(255, 220, 90), 1));
    p.drawLine(QPointF(8.5, 8.5), QPointF(15, 8.5));
    p.drawLine(QPointF(8.5, 11.5), QPointF(15, 11.5));
    return pixmap;
}

}  // namespace teluri

#include "base/ui/pictures.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace teluri {
namespace {

const QColor kNavy(48, 48, 96);

QPixmap Blank(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Drawing on a 16-unit grid scaled to the picture's size.
class Canvas {
  public:
    Canvas(QPixmap& pixmap, int size) : painter_(&pixmap) {
        painter_.setRenderHint(QPainter::Antialiasing, size > 16);
        painter_.scale(size / 16.0, size / 16.0);
    }
    QPainter* operator->() { return &painter_; }

  private:
    QPainter painter_;
};

void DrawPage(QPainter& p, const QRectF& r, const QColor& face) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(face);
    p.drawRect(r);
    p.setPen(QPen(QColor(128, 128, 128), 1));
    for (qreal y = r.top() + 3; y < r.bottom() - 1; y += 2) {
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    }
}

// The logo's night-blue sky, darker at the top.
QLinearGradient Sky(qreal height) {
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(20, 30, 90));
    sky.setColorAt(1, QColor(80, 120, 200));
    return sky;
}

// The logo's thread tree: a trunk five units long from `top`, three
// branches of one unit, each ending, after a small gap, in a node (yellow,
// blue, yellow) of `nodeRadius` units.
void DrawThreadTree(QPainter& p, QPointF top, qreal unit, qreal penWidth, qreal nodeRadius) {
    p.setPen(QPen(QColor(255, 220, 90), penWidth));
    p.drawLine(top, top + QPointF(0, unit * 5));
    for (int i = 0; i < 3; ++i) {
        const QPointF branch = top + QPointF(0, unit * (1 + 2 * i));
        p.drawLine(branch, branch + QPointF(unit, 0));
        p.setBrush(i == 1 ? QColor(90, 140, 240) : QColor(240, 200, 40));
        p.drawEllipse(branch + QPointF(unit * (1.05 + nodeRadius), 0), unit * nodeRadius,
                      unit * nodeRadius);
    }
}

}  // namespace

QPixmap TemplePicture(int size) {
    QPixmap pixmap = Blank(size, size);
    Canvas c(pixmap, size);
    const QColor yellow(240, 200, 40);
    const QColor dark(150, 110, 0);
    c->setPen(QPen(dark, 1));
    c->setBrush(yellow);
    // Pediment, architrave, four columns, base.
    c->drawPolygon(QPolygonF({QPointF(1, 5), QPointF(8, 1), QPointF(15, 5)}));
    c->drawRect(QRectF(1.5, 5.5, 13, 1.5));
    for (const qreal x : {2.5, 5.5, 8.5, 11.5}) {
        c->drawRect(QRectF(x, 7.5, 2, 5.5));
    }
    c->drawRect(QRectF(0.5, 13.5, 15, 2));
    return pixmap;
}

QPixmap BuildingsPicture(int size) {
    QPixmap pixmap = Blank(size, size);
    Canvas c(pixmap, size);
    c->setPen(QPen(QColor(0, 0, 96), 1));
    const struct {
        QRectF rect;
        QColor color;
    } towers[] = {{QRectF(0.5, 6.5, 5, 9), QColor(70, 110, 220)},
                  {QRectF(5.5, 1.5, 5, 14), QColor(40, 70, 190)},
                  {QRectF(10.5, 4.5, 5, 11), QColor(90, 140, 240)}};
    for (const auto& tower : towers) {
        c->setBrush(tower.color);
        c->drawRect(tower.rect);
        c->setPen(QPen(QColor(200, 230, 255), 1));
        for (qreal y = tower.rect.top() + 2; y < tower.rect.bottom() - 1; y += 2) {
            c->drawPoint(QPointF(tower.rect.left() + 1.5, y));
            c->drawPoint(QPointF(tower.rect.left() + 3.5, y));
        }
        c->setPen(QPen(QColor(0, 0, 96), 1));
    }
    return pixmap;
}

QPixmap MissingPagePicture(int size) {
    QPixmap pixmap = Blank(size, size);
    Canvas c(pixmap, size);
    DrawPage(*c.operator->(), QRectF(2.5, 0.5, 10, 14), QColor(255, 240, 150));
    c->setPen(QPen(QColor(160, 160, 160), 1));
    c->drawLine(QPointF(12.5, 1), QPointF(12.5, 15));
    c->setPen(QPen(QColor(220, 0, 0), 2.5));
    c->drawLine(QPointF(2, 2), QPointF(14, 14));
    c->drawLine(QPointF(14, 2), QPointF(2, 14));
    return pixmap;
}

QPixmap OpenFolderGlyph() {
    QPixmap pixmap = Blank(16, 16);
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.setBrush(QColor(230, 200, 80));
    p.drawRect(1, 4, 12, 9);
    p.drawRect(1, 3, 5, 1);
    p.setBrush(QColor(250, 225, 120));
    p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 13), QPoint(1, 13)}));
    return pixmap;
}

QPixmap PrintGlyph() {
    QPixmap pixmap = Blank(16, 16);
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 8, 6);
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(1, 7, 14, 6);
    p.setBrush(Qt::white);
    p.drawRect(4, 11, 8, 4);
    p.setPen(QColor(0, 160, 0));
    p.drawPoint(13, 9);
    return pixmap;
}

QPixmap CopyGlyph() {
    QPixmap pixmap = Blank(16, 16);
    QPainter p(&pixmap);
    DrawPage(p, QRectF(1.5, 1.5, 8, 10), Qt::white);
    DrawPage(p, QRectF(6.5, 4.5, 8, 10), Qt::white);
    return pixmap;
}

QPixmap FindGlyph() {
    QPixmap pixmap = Blank(16, 16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
    p.setPen(QPen(QColor(120, 60, 0), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
    return pixmap;
}

QPixmap HelpGlyph() {
    QPixmap pixmap = Blank(16, 16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kNavy, 1));
    p.setBrush(QColor(255, 255, 210));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    QFont font;
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0, 0, 160));
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, "?");
    return pixmap;
}

QPixmap LogoPicture(int width, int height) {
    QPixmap pixmap(width, height);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(pixmap.rect(), Sky(height));
    // A thread tree growing from the left edge.
    const qreal unit = height / 10.0;
    DrawThreadTree(p, QPointF(unit, unit * 2), unit, qMax(1, height / 60), 0.35);
    QFont title("Serif");
    title.setBold(true);
    title.setItalic(true);
    // As large as a fifth of the height allows, within the width. Unhinted,
    // the width grows in proportion to the size, so one measurement at the
    // largest size tells the size that fits; each size measured or drawn
    // loads a font engine of its own.
    const QString name = "Teluri Explorer";
    const qreal room = width - unit * 3.6;
    const int largest = qMax(8, height / 5);
    title.setHintingPreference(QFont::PreferNoHinting);
    title.setPixelSize(largest);
    const qreal widest = QFontMetricsF(title).horizontalAdvance(name);
    if (widest > room) {
        title.setPixelSize(qMax(7, static_cast<int>(largest * room / widest)));
    }
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(unit * 3.2, 0, width - unit * 3.4, height * 0.62),
               Qt::AlignLeft | Qt::AlignBottom, name);
    QFont maker("Sans");
    maker.setPixelSize(qMax(6, height / 12));
    p.setFont(maker);
    p.setPen(QColor(255, 220, 90));
    p.drawText(QRectF(unit * 3.2, height * 0.64, width - unit * 3.4, height * 0.2),
               Qt::AlignLeft | Qt::AlignTop, "Orvak");
    return pixmap;
}

void DrawProgramIcon(QPainter& p, qreal size) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal margin = size / 16;
    p.setPen(Qt::NoPen);
    p.setBrush(Sky(size));
    p.drawRoundedRect(QRectF(margin, margin, size - 2 * margin, size - 2 * margin), size / 6,
                      size / 6);
    // The tree, its bolder nodes included, centred.
    const qreal unit = size / 6.6;
    const qreal nodeRadius = 0.5;
    const qreal width = unit * (1.05 + 2 * nodeRadius);
    DrawThreadTree(p, QPointF((size - width) / 2, (size - unit * 5) / 2), unit,
                   qMax(1.0, size / 40), nodeRadius);
    p.restore();
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap = Blank(size, size);
        QPainter painter(&pixmap);
        DrawProgramIcon(painter, size);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPixmap FindFileFrame(int frame) {
    QPixmap pixmap(48, 50);
    pixmap.fill(QColor(212, 208, 200));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // Three files in a row; the magnifier glides over them and back.
    for (int i = 0; i < 3; ++i) {
        DrawPage(p, QRectF(2.5 + i * 15, 22.5, 12, 16), Qt::white);
    }
    const int step = frame % kFindFileFrames;
    const qreal half = (kFindFileFrames - 1) / 2.0;
    const qreal t = step <= half ? step / half : (kFindFileFrames - 1 - step) / half;
    const QPointF lens(10 + t * 26, 18 + 6 * (1 - (2 * t - 1) * (2 * t - 1)));
    p.setPen(QPen(QColor(120, 60, 0), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(lens + QPointF(5, 5), lens + QPointF(10, 11));
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(200, 230, 255, 170));
    p.drawEllipse(lens, 7, 7);
    return pixmap;
}

}  // namespace teluri

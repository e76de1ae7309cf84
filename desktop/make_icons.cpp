// Writes the program's icon files for the desktop's icon theme: a PNG for
// each size and a scalable SVG, drawn by the same code as the window's icon.
//   make_icons ID FOLDER
// makes FOLDER/<size>x<size>/apps/ID.png and FOLDER/scalable/apps/ID.svg.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

#include "base/ui/pictures.h"

namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr int kScalableSize = 256;

bool WritePng(const QString& folder, const QString& id, int size) {
    const QString path = QString("%1/%2x%2/apps").arg(folder).arg(size);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    teluri::DrawProgramIcon(painter, size);
    painter.end();
    return QDir().mkpath(path) && image.save(path + "/" + id + ".png");
}

bool WriteSvg(const QString& folder, const QString& id) {
    const QString path = folder + "/scalable/apps";
    if (!QDir().mkpath(path)) {
        return false;
    }
    QSvgGenerator svg;
    svg.setFileName(path + "/" + id + ".svg");
    svg.setSize(QSize(kScalableSize, kScalableSize));
    svg.setViewBox(QRect(0, 0, kScalableSize, kScalableSize));
    svg.setTitle("Teluri Explorer");
    QPainter painter;
    if (!painter.begin(&svg)) {
        return false;
    }
    teluri::DrawProgramIcon(painter, kScalableSize);
    return painter.end();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: make_icons ID FOLDER\n");
        return 2;
    }
    // Drawing needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString id = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    for (const int size : kSizes) {
        if (!WritePng(folder, id, size)) {
            std::fprintf(stderr, "make_icons: cannot write the %dx%d icon\n", size, size);
            return 1;
        }
    }
    if (!WriteSvg(folder, id)) {
        std::fprintf(stderr, "make_icons: cannot write the scalable icon\n");
        return 1;
    }
    return 0;
}

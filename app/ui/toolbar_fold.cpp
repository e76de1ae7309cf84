#include "app/ui/toolbar_fold.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QTimer>

#include "app/ui/timage.h"
#include "app/ui/top_line_panel.h"
#include "base/ui/guard.h"

namespace teluri {
namespace {

const QRgb kFace = qRgb(192, 192, 192);
const QRgb kLitFace = qRgb(200, 200, 255);
const QRgb kGrey = qRgb(128, 128, 128);
const QRgb kNavy = qRgb(48, 48, 96);
const QRgb kBlue = qRgb(96, 96, 200);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

// The grip, 9 x 28: a face with a white top row and a shadowed right
// column and bottom row, a small triangle pointing down, then dots.
QPixmap GripPicture(bool lit) {
    QImage image(9, 28, QImage::Format_RGB32);
    image.fill(lit ? kLitFace : kFace);
    const QRgb shadow = lit ? kNavy : kGrey;
    for (int x = 0; x < 9; ++x) {
        image.setPixel(x, 0, kWhite);
        image.setPixel(x, 27, shadow);
    }
    for (int y = 0; y < 28; ++y) {
        image.setPixel(8, y, shadow);
    }
    for (int row = 0; row < 3; ++row) {
        const int left = 2 + row;
        const int right = 6 - row;
        for (int x = left; x <= right; ++x) {
            image.setPixel(x, 3 + row, (x == left || x == right) ? kNavy : kBlue);
        }
    }
    for (int y = 8; y <= 24; y += 3) {
        for (const int x : {2, 5}) {
            image.setPixel(x, y, kWhite);
            image.setPixel(x + 1, y + 1, kNavy);
        }
    }
    return QPixmap::fromImage(image);
}

// The tab, 37 x 10: black top and bottom edges, a white highlight along the
// inner top and the left edge, a shadow line along the inner bottom, a small
// triangle pointing right, a row of dots, and the right end cut off by an
// edge slanting from the top right down to the left.
QPixmap TabPicture(bool lit) {
    QImage image(37, 10, QImage::Format_RGB32);
    image.fill(lit ? kLitFace : kFace);
    for (int x = 0; x < 37; ++x) {
        image.setPixel(x, 0, kBlack);
        image.setPixel(x, 9, kBlack);
        image.setPixel(x, 1, kWhite);
        image.setPixel(x, 8, lit ? kNavy : kGrey);
    }
    for (int y = 1; y < 9; ++y) {
        image.setPixel(0, y, kWhite);
    }
    for (int column = 0; column < 3; ++column) {
        const int top = 2 + column;
        const int bottom = 6 - column;
        for (int y = top; y <= bottom; ++y) {
            image.setPixel(3 + column, y, (y == top || y == bottom) ? kNavy : kBlue);
        }
    }
    for (int x = 9; x <= 27; x += 3) {
        image.setPixel(x, 4, kWhite);
        image.setPixel(x + 1, 5, kNavy);
    }
    for (int y = 0; y < 10; ++y) {
        const int edge = 36 - y;
        image.setPixel(edge, y, kBlack);
        for (int x = edge + 1; x < 37; ++x) {
            image.setPixel(x, y, kFace);
        }
    }
    return QPixmap::fromImage(image);
}

QLabel* HiddenPicture(QWidget* parent, const char* name, const QPixmap& picture) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(picture);
    label->resize(picture.size());
    label->hide();
    return label;
}

QWidget* Holder(QWidget* parent, const char* name, const QRect& geometry) {
    auto* holder = new QWidget(parent);
    holder->setObjectName(name);
    holder->setGeometry(geometry);
    return holder;
}

}  // namespace

TToolBarFold::TToolBarFold(QWidget* window, QWidget* panel1)
    : QObject(window), window_(window), Panel1_(panel1) {
    imgBar1_ = HiddenPicture(panel1, "imgBar1", GripPicture(false));
    imgBar2_ = HiddenPicture(panel1, "imgBar2", GripPicture(true));
    imgBar3_ = HiddenPicture(panel1, "imgBar3", TabPicture(false));
    imgBar4_ = HiddenPicture(panel1, "imgBar4", TabPicture(true));

    QWidget* waitBar = Holder(panel1, "pnlWaitBar", QRect(2, 2, 9, 33));
    Image1_ = new TImage(waitBar);
    Image1_->setObjectName("Image1");
    Image1_->setGeometry(0, -1, 9, 32);
    Image1_->setPixmap(imgBar1_->pixmap());
    Image1_->onClick = [this] { Guarded(window_, [this] { Image1Click(); }); };

    pnlSleepBar_ = new TopLinePanel(window, "pnlSleepBar", "Bevel5", 12);
    pnlSleepBar_->hide();
    QWidget* tabHolder = Holder(pnlSleepBar_, "pnlBar2", QRect(0, 2, 40, 10));
    Image2_ = new TImage(tabHolder);
    Image2_->setObjectName("Image2");
    Image2_->setPixmap(imgBar3_->pixmap());
    Image2_->setGeometry(0, 0, 37, 10);
    Image2_->onClick = [this] { Guarded(window_, [this] { Image2Click(); }); };

    tmrBarCheck_ = new QTimer(window);
    tmrBarCheck_->setObjectName("tmrBarCheck");
    tmrBarCheck_->setInterval(100);
    connect(tmrBarCheck_, &QTimer::timeout, this,
            [this] { Guarded(window_, [this] { tmrBarCheckTimer(); }); });
    tmrBarCheck_->start();
}

void TToolBarFold::Image1Click() {
    pnlSleepBar_->show();
    Panel1_->hide();
}

void TToolBarFold::Image2Click() {
    Panel1_->show();
    pnlSleepBar_->hide();
}

void TToolBarFold::tmrBarCheckTimer() {
    QWidget* control = QApplication::widgetAt(QCursor::pos());
    // Pictures and labels have no window of their own: over them the
    // control found is the panel that holds them.
    while (control != nullptr && qobject_cast<QLabel*>(control) != nullptr) {
        control = control->parentWidget();
    }
    if (control == nullptr) {
        return;  // over another program or the desktop
    }
    const QString name = control->objectName();
    if (name == QLatin1String("pnlWaitBar")) {
        BarHover_ = true;
        Image1_->setPixmap(imgBar2_->pixmap());
    } else if (BarHover_ && Panel1_->isVisible()) {
        Image1_->setPixmap(imgBar1_->pixmap());
        BarHover_ = false;
    }
    if (name == QLatin1String("pnlBar2")) {
        BarHover_ = true;
        Image2_->setPixmap(imgBar4_->pixmap());
    } else if (BarHover_ && pnlSleepBar_->isVisible()) {
        Image2_->setPixmap(imgBar3_->pixmap());
        BarHover_ = false;
    }
}

}  // namespace teluri

#include "app/ui/toolbar_fold.h"

#include <QEvent>
#include <QImage>

#include "app/ui/clickable_picture.h"
#include "app/ui/top_line_panel.h"
#include "base/ui/guard.h"
#include "base/ui/qtext.h"

namespace teluri {
namespace {

const QRgb kFace = qRgb(192, 192, 192);
const QRgb kLitFace = qRgb(200, 200, 255);
const QRgb kGrey = qRgb(128, 128, 128);
const QRgb kNavy = qRgb(48, 48, 96);
const QRgb kBlue = qRgb(96, 96, 200);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

}  // namespace

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

namespace {

QWidget* Holder(QWidget* parent, const char* name, const QRect& geometry) {
    auto* holder = new QWidget(parent);
    holder->setObjectName(name);
    holder->setGeometry(geometry);
    return holder;
}

}  // namespace

ToolBarFold::ToolBarFold(QWidget* window, QWidget* toolBar)
    : QObject(window),
      window_(window),
      toolBar_(toolBar),
      gripPicture_(GripPicture(false)),
      litGripPicture_(GripPicture(true)),
      tabPicture_(TabPicture(false)),
      litTabPicture_(TabPicture(true)) {
    gripHolder_ = Holder(toolBar, "pnlWaitBar", QRect(2, 2, 9, 33));
    grip_ = new ClickablePicture(gripHolder_);
    grip_->setObjectName("Image1");
    grip_->setAccessibleName(Text("ツールバーをたたむ"));
    grip_->setGeometry(0, -1, 9, 32);
    grip_->setPixmap(gripPicture_);
    connect(grip_, &ClickablePicture::clicked, this,
            [this] { Guarded(window_, [this] { FoldToolBar(); }); });

    strip_ = new TopLinePanel(window, "pnlSleepBar", "Bevel5", 12);
    strip_->hide();
    tabHolder_ = Holder(strip_, "pnlBar2", QRect(0, 2, 40, 10));
    tab_ = new ClickablePicture(tabHolder_);
    tab_->setObjectName("Image2");
    tab_->setAccessibleName(Text("ツールバーを開く"));
    tab_->setPixmap(tabPicture_);
    tab_->setGeometry(0, 0, 37, 10);
    connect(tab_, &ClickablePicture::clicked, this,
            [this] { Guarded(window_, [this] { UnfoldToolBar(); }); });

    gripHolder_->installEventFilter(this);
    tabHolder_->installEventFilter(this);
}

void ToolBarFold::FoldToolBar() {
    strip_->show();
    toolBar_->hide();
}

void ToolBarFold::UnfoldToolBar() {
    toolBar_->show();
    strip_->hide();
}

bool ToolBarFold::IsFolded() const {
    return !strip_->isHidden();
}

bool ToolBarFold::eventFilter(QObject* watched, QEvent* event) {
    // The pointer over the holder or the picture in it lights the picture.
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter || type == QEvent::Leave) {
        const bool lit = type == QEvent::Enter;
        if (watched == gripHolder_) {
            grip_->setPixmap(lit ? litGripPicture_ : gripPicture_);
        } else if (watched == tabHolder_) {
            tab_->setPixmap(lit ? litTabPicture_ : tabPicture_);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace teluri

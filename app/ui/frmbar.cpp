#include "app/ui/frmbar.h"

#include <QCoreApplication>
#include <QLabel>

#include "base/ui/center_on_screen.h"
#include "base/ui/fonts.h"
#include "base/ui/pictures.h"

namespace teluri {
namespace {

constexpr int kFrameMilliseconds = 60;

}  // namespace

TfrmBar::TfrmBar(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName("frmBar");
    setWindowTitle(QString::fromUtf8("処理経過"));
    setFont(WindowFont());
    setFixedSize(325, 95);
    CenterOnScreen(*this);
    auto* label = new QLabel(QString::fromUtf8("Teluriデータの構造を解析中です．．．"), this);
    label->setObjectName("Label1");
    label->move(4, 4);
    Animate1_ = new QLabel(this);
    Animate1_->setObjectName("Animate1");
    Animate1_->setGeometry(136, 24, 48, 50);
    lblper_ = new QLabel(this);
    lblper_->setObjectName("lblper");
    lblper_->move(144, 80);
}

void TfrmBar::Start() {
    clock_.start();
    frame_ = 0;
    Animate1_->setPixmap(FindFileFrame(frame_));
    show();
    // A new window is drawn once the window system has shown it; the run
    // that follows holds the thread, so that happens here.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void TfrmBar::Step(int percent) {
    const QString text = QString::number(percent) + "%";
    if (lblper_->text() != text) {
        lblper_->setText(text);
        lblper_->adjustSize();
        lblper_->repaint();
    }
    // The animation moves with the clock, not with the files, so that it
    // keeps its pace on folders of any size.
    const int frame = static_cast<int>(clock_.elapsed() / kFrameMilliseconds) % kFindFileFrames;
    if (frame != frame_) {
        frame_ = frame;
        Animate1_->setPixmap(FindFileFrame(frame_));
        Animate1_->repaint();
    }
}

}  // namespace teluri

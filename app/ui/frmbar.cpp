#include "app/ui/frmbar.h"

#include <QCoreApplication>
#include <QLabel>
#include <QThread>
#include <QWindow>

#include "base/ui/center_on_screen.h"
#include "base/ui/fonts.h"
#include "base/ui/pictures.h"

namespace teluri {
namespace {

constexpr int kAnimationMilliseconds = 60;
constexpr int kDisplayFrameMilliseconds = 16;
constexpr int kExposeWaitMilliseconds = 500;

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
    percent_ = -1;
    Animate1_->setPixmap(FindFileFrame(frame_));
    show();
    // A new window can be drawn once the window system has mapped and
    // exposed it; the run that follows holds the thread, so that is waited
    // for here, without taking user input, for a short while at most.
    QElapsedTimer waited;
    waited.start();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    while (!IsExposed() && waited.elapsed() < kExposeWaitMilliseconds) {
        QThread::msleep(1);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    repaint();
    lastDrawnAt_ = -1;  // the first step is drawn at once
}

bool TfrmBar::IsExposed() const {
    return windowHandle() != nullptr && windowHandle()->isExposed();
}

void TfrmBar::Step(int percent) {
    // The percentage and the animation follow every step; the screen gets
    // them at most once per display frame. Runs step thousands of times a
    // second, so a step that changes nothing costs one clock reading.
    if (percent != percent_) {
        percent_ = percent;
        lblper_->setText(QString::number(percent) + "%");
        lblper_->adjustSize();
        undrawn_ = true;
    }
    // The animation moves with the clock, not with the files, so that it
    // keeps its pace on folders of any size.
    const qint64 now = clock_.elapsed();
    const int frame = static_cast<int>(now / kAnimationMilliseconds) % kFindFileFrames;
    if (frame != frame_) {
        frame_ = frame;
        Animate1_->setPixmap(FindFileFrame(frame_));
        undrawn_ = true;
    }
    if (undrawn_ && (lastDrawnAt_ < 0 || now - lastDrawnAt_ >= kDisplayFrameMilliseconds)) {
        Draw();
    }
}

void TfrmBar::Stop() {
    if (undrawn_) {
        Draw();
    }
    close();
}

void TfrmBar::Draw() {
    repaint();
    lastDrawnAt_ = clock_.elapsed();
    undrawn_ = false;
}

}  // namespace teluri

#include "app/ui/progress_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QThread>
#include <QWindow>

#include "base/ui/center_on_screen.h"
#include "base/ui/display_frame.h"
#include "base/ui/fonts.h"
#include "base/ui/pictures.h"

namespace teluri {
namespace {

constexpr int kAnimationMilliseconds = 60;
constexpr int kExposeWaitMilliseconds = 500;

}  // namespace

ProgressWindow::ProgressWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName("frmBar");
    setWindowTitle(QString::fromUtf8("処理経過"));
    setFont(WindowFont());
    setFixedSize(325, 95);
    CenterOnScreen(*this);
    auto* label = new QLabel(QString::fromUtf8("Teluriデータの構造を解析中です．．．"), this);
    label->setObjectName("Label1");
    label->move(4, 4);
    animation_ = new QLabel(this);
    animation_->setObjectName("Animate1");
    animation_->setAccessibleName(QString::fromUtf8("解析中"));
    animation_->setGeometry(136, 24, 48, 50);
    percentLabel_ = new QLabel(this);
    percentLabel_->setObjectName("lblper");
    percentLabel_->move(144, 80);
}

void ProgressWindow::Start() {
    clock_.start();
    frame_ = 0;
    percent_ = -1;
    shownPercent_ = -1;
    animation_->setPixmap(FindFileFrame(frame_));
    shown_ = false;
    lastDrawnAt_ = -1;  // the first step is drawn at once
    // The window system maps the window while the run lists the folder and
    // its threads read the first pages; the first step waits for it.
    show();
}

void ProgressWindow::DrawWhenExposed() {
    // A new window can be drawn once the window system has mapped and
    // exposed it; the run holds the thread, so that is waited for here,
    // without taking user input, for a short while at most.
    QElapsedTimer waited;
    waited.start();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    while (!IsExposed() && waited.elapsed() < kExposeWaitMilliseconds) {
        QThread::msleep(1);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    repaint();
    shown_ = true;
}

bool ProgressWindow::IsExposed() const {
    return windowHandle() != nullptr && windowHandle()->isExposed();
}

void ProgressWindow::Step(int percent) {
    // Runs step thousands of times a second and the screen shows one picture
    // per display frame: a step notes the percentage and reads the clock,
    // and the labels are brought up to date only when drawn.
    percent_ = percent;
    if (!shown_) {
        DrawWhenExposed();
    }
    if (lastDrawnAt_ < 0 || clock_.elapsed() - lastDrawnAt_ >= kDisplayFrameMilliseconds) {
        Draw();
    }
}

void ProgressWindow::Stop() {
    Draw();
    close();
}

void ProgressWindow::Draw() {
    bool changed = false;
    if (percent_ != shownPercent_ && percent_ >= 0) {
        shownPercent_ = percent_;
        percentLabel_->setText(QString::number(percent_) + "%");
        percentLabel_->adjustSize();
        changed = true;
    }
    // The animation moves with the clock, not with the files, so that it
    // keeps its pace on folders of any size.
    const int frame = static_cast<int>(clock_.elapsed() / kAnimationMilliseconds) % kFindFileFrames;
    if (frame != frame_) {
        frame_ = frame;
        animation_->setPixmap(FindFileFrame(frame_));
        changed = true;
    }
    if (changed) {
        repaint();
    }
    lastDrawnAt_ = clock_.elapsed();
}

}  // namespace teluri

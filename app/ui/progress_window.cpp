#include "app/ui/progress_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QWindow>

#include "base/ui/center_on_screen.h"
#include "base/ui/display_frame.h"
#include "base/ui/fonts.h"
#include "base/ui/pictures.h"

namespace teluri {
namespace {

constexpr int kAnimationMilliseconds = 60;

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
    show();
}

bool ProgressWindow::Exposed() {
    // A new window can be drawn once the window system has mapped and
    // exposed it. The run holds the thread: the events that expose it are
    // let in here, without user input, once a display frame until then, so
    // that the run goes on while the window system maps the window.
    if (!IsExposed()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return IsExposed();
}

bool ProgressWindow::IsExposed() const {
    return windowHandle() != nullptr && windowHandle()->isExposed();
}

void ProgressWindow::Step(int percent) {
    // Runs step thousands of times a second and the screen shows one picture
    // per display frame: a step notes the percentage and reads the clock,
    // and the labels are brought up to date only when drawn.
    percent_ = percent;
    if (lastDrawnAt_ < 0 || clock_.elapsed() - lastDrawnAt_ >= kDisplayFrameMilliseconds) {
        Draw();
    }
}

void ProgressWindow::Stop() {
    Draw();
    close();
}

void ProgressWindow::Draw() {
    lastDrawnAt_ = clock_.elapsed();
    if (!shown_ && !Exposed()) {
        return;
    }
    const bool first = !shown_;
    shown_ = true;
    const bool percentChanged = percent_ != shownPercent_ && percent_ >= 0;
    if (percentChanged) {
        shownPercent_ = percent_;
        percentLabel_->setText(QString::number(percent_) + "%");
        percentLabel_->adjustSize();  // it only grows within a run
    }
    // The animation moves with the clock, not with the files, so that it
    // keeps its pace on folders of any size.
    const int frame = static_cast<int>(clock_.elapsed() / kAnimationMilliseconds) % kFindFileFrames;
    const bool frameChanged = frame != frame_;
    if (frameChanged) {
        frame_ = frame;
        animation_->setPixmap(FindFileFrame(frame_));
    }
    // Drawn whole the first time; then only what changed, as each drawing
    // under a window system is sent to the screen.
    if (first) {
        repaint();
        return;
    }
    if (percentChanged) {
        percentLabel_->repaint();
    }
    if (frameChanged) {
        animation_->repaint();
    }
}

}  // namespace teluri

// The progress window of the analysis run: a small tool window with the
// percentage of files read and an animation of a magnifier passing over
// files, drawn whole once the window system has exposed it and repainted
// explicitly, once per display frame, while the run holds the GUI thread.
#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QLabel;

namespace teluri {

class ProgressWindow : public QWidget {
  public:
    explicit ProgressWindow(QWidget* parent);

    // Starts the animation and shows the window.
    void Start();
    // The percentage of files read. The percentage text ("42%") and the
    // animation are brought up to date and repainted at the first step and
    // then when a display frame has passed since the last drawing, once the
    // window is exposed.
    void Step(int percent);
    // Draws what the last steps left undrawn and closes the window.
    void Stop();

  private:
    bool IsExposed() const;
    // IsExposed, after letting in the events that may expose the window.
    bool Exposed();
    // Brings the labels up to date and repaints what changed; the whole
    // window the first time it is exposed.
    void Draw();

    QLabel* animation_;
    QLabel* percentLabel_;
    QElapsedTimer clock_;
    qint64 lastDrawnAt_ = -1;  // on clock_; -1: not drawn since Start
    int percent_ = -1;         // the last step's
    int shownPercent_ = -1;    // the label's
    int frame_ = -1;
    bool shown_ = false;  // drawn since Start
};

}  // namespace teluri

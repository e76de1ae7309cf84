// The progress window of the analysis run: a small tool window with the
// percentage of files read and an animation of a magnifier passing over
// files, drawn whole before the first file is read and repainted explicitly,
// once per display frame, while the run holds the GUI thread.
#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QLabel;

namespace teluri {

class ProgressWindow : public QWidget {
  public:
    explicit ProgressWindow(QWidget* parent);

    // Starts the animation and shows the window, drawn, once the window
    // system has exposed it.
    void Start();
    // Sets the percentage text ("42%") and moves the animation on; repaints
    // at the first step and then when a display frame has passed since the
    // last drawing.
    void Step(int percent);
    // Draws what the last steps left undrawn and closes the window.
    void Stop();

  private:
    bool IsExposed() const;
    void Draw();

    QLabel* animation_;
    QLabel* percentLabel_;
    QElapsedTimer clock_;
    qint64 lastDrawnAt_ = -1;  // on clock_; -1: not drawn since Start
    int percent_ = -1;
    int frame_ = -1;
    bool undrawn_ = false;
};

}  // namespace teluri

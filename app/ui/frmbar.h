// The progress window of the analysis run: a small tool window with the
// percentage of files read and an animation of a magnifier passing over
// files, repainted explicitly while the run holds the GUI thread.
#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QLabel;

namespace teluri {

class TfrmBar : public QWidget {
  public:
    explicit TfrmBar(QWidget* parent);

    // Starts the animation and shows the window at once.
    void Start();
    // Sets the percentage text ("42%") and moves the animation on; repaints
    // what changed.
    void Step(int percent);

  private:
    QLabel* Animate1_;
    QLabel* lblper_;
    QElapsedTimer clock_;
    int frame_ = -1;
};

}  // namespace teluri

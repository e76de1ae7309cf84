// The collapsible tool bar. A narrow grip at the left end of the tool bar
// folds it away; a thin strip with a small tab then takes its place at the
// top of the window, and a click on the tab brings the tool bar back. Grip
// and tab light up while the mouse pointer rests on them: a 100 ms timer
// checks which of the program's controls lies under the pointer.
#pragma once

#include <QObject>
#include <QPixmap>

class QLabel;
class QTimer;
class QWidget;

namespace teluri {

class TImage;

class TToolBarFold : public QObject {
  public:
    // Puts the grip into the tool bar `panel1` and makes the strip, a child
    // of `window`, for the caller to place right below the tool bar.
    TToolBarFold(QWidget* window, QWidget* panel1);

    QWidget* SleepBar() const { return pnlSleepBar_; }
    bool BarHover() const { return BarHover_; }

    // Click on the grip: the strip shows, the tool bar hides.
    void Image1Click();
    // Click on the tab: the tool bar shows, the strip hides.
    void Image2Click();
    // The hover check, on every tick of tmrBarCheck.
    void tmrBarCheckTimer();

  private:
    QWidget* window_;
    QWidget* Panel1_;
    QWidget* pnlSleepBar_;
    TImage* Image1_;
    TImage* Image2_;
    QLabel* imgBar1_;
    QLabel* imgBar2_;
    QLabel* imgBar3_;
    QLabel* imgBar4_;
    QTimer* tmrBarCheck_;
    // A lit picture may be showing and has to be put back.
    bool BarHover_ = false;
};

}  // namespace teluri

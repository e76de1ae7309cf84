// The collapsible tool bar. A narrow grip at the left end of the tool bar
// folds it away; a thin strip with a small tab then takes its place at the
// top of the window, and a click on the tab brings the tool bar back. Grip
// and tab light up while the mouse pointer rests on them.
#pragma once

#include <QObject>
#include <QPixmap>

class QWidget;

namespace teluri {

class ClickablePicture;

// The grip, 9 x 28: a face with a white top row and a shadowed right column
// and bottom row, a small triangle pointing down, then dots.
QPixmap GripPicture(bool lit);
// The tab, 37 x 10: black top and bottom edges, a white highlight along the
// inner top and the left edge, a shadow line along the inner bottom, a small
// triangle pointing right, a row of dots, and the right end cut off by an
// edge slanting from the top right down to the left.
QPixmap TabPicture(bool lit);

class ToolBarFold : public QObject {
  public:
    // Puts the grip into `toolBar` and makes the strip, a child of `window`,
    // for the caller to place right below the tool bar.
    ToolBarFold(QWidget* window, QWidget* toolBar);

    QWidget* Strip() const { return strip_; }
    bool IsFolded() const;
    // The strip shows, the tool bar hides.
    void FoldToolBar();
    // The tool bar shows, the strip hides.
    void UnfoldToolBar();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* window_;
    QWidget* toolBar_;
    QWidget* strip_;
    QWidget* gripHolder_;
    QWidget* tabHolder_;
    ClickablePicture* grip_;
    ClickablePicture* tab_;
    QPixmap gripPicture_;
    QPixmap litGripPicture_;
    QPixmap tabPicture_;
    QPixmap litTabPicture_;
};

}  // namespace teluri

// Keeps the main window's shape between runs in Window.ini: restored once
// the window's creation steps have run, saved when the window closes.
// Without a saved shape the window stays as created (maximised); a saved
// position that no screen shows falls back to the window's own. When the
// window is un-maximised, the tree's pane is narrowed to half the window's
// width if it was wider.
#pragma once

#include <QObject>

#include "reading/window_state.h"

class QSplitter;
class QWidget;

namespace teluri {

class ToolBarFold;

class WindowMemory : public QObject {
  public:
    WindowMemory(QWidget& window, QSplitter& splitter, ToolBarFold& toolBar);

    void Restore();
    // Writes Window.ini; throws IoError when the file cannot be written.
    void Save();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void NarrowTreeToHalf();

    QWidget& window_;
    QSplitter& splitter_;
    ToolBarFold& toolBar_;
    // The position and size of the window's inside (without the frame)
    // while it was last neither maximised nor minimised; no size before that.
    ScreenRect normal_;
    // Set from un-maximising until the window has its normal size.
    bool unmaximising_ = false;
};

}  // namespace teluri

// The main window's finding commands: the find bar under the page, the
// thread filter at the right end of the tool bar, and their entries in the
// View menu (Ctrl+F, Ctrl+G, Ctrl+Shift+G, Ctrl+L), and the next and
// previous hit of the search window's list (F4, Shift+F4). An opened search
// hit shows the searched text marked in the find bar.
#pragma once

#include <QObject>

#include "threads/archive.h"

class QMenu;

namespace teluri {

class BusyGauge;
class FindBar;
class PageView;
class ThreadFilter;
class ThreadTreeView;
class ToolBarFold;

class FindingCommands : public QObject {
    Q_OBJECT

  public:
    // Adds the find bar under `page`, the filter at the right end of
    // `toolBar` and the commands to `viewMenu`.
    FindingCommands(QWidget& window, QMenu& viewMenu, QWidget& toolBar, ToolBarFold& fold,
                    PageView& page, ThreadTreeView& tree, const Archive& archive, BusyGauge& gauge);

    // A search hit was shown in the page: its text is marked there.
    void HitShown(const QString& text);

  signals:
    // F4 (step 1) or Shift+F4 (step -1): the search window's next or
    // previous hit is wanted.
    void hitStepWanted(int step);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void PlaceFilter();
    // Ctrl+L: the filter field gets the focus, the folded tool bar unfolded.
    void FocusFilter();

    QWidget& toolBar_;
    ToolBarFold& fold_;
    FindBar* bar_ = nullptr;
    ThreadFilter* filter_ = nullptr;
};

}  // namespace teluri

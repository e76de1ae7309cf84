// The main window's finding commands: the find bar under the page, the
// thread filter at the right end of the tool bar, and their entries in the
// View menu (Ctrl+F, Ctrl+G, Ctrl+Shift+G, Ctrl+L). An opened search hit
// shows the searched text marked in the find bar.
#pragma once

#include <QObject>

class QMenu;
class QTreeWidget;

namespace teluri {

class TfrmMain;
class TFindBar;
class THTML;
class TThreadFilter;
class TToolBarFold;

class TFinding : public QObject {
  public:
    TFinding(TfrmMain& window, QMenu& viewMenu, QWidget& toolBar, TToolBarFold& fold, THTML& page,
             QTreeWidget& tree);

    // A search hit was shown in the page: its text is marked there.
    void HitShown(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void PlaceFilter();
    // Ctrl+L: the filter field gets the focus, the folded tool bar unfolded.
    void FocusFilter();

    QWidget& toolBar_;
    TToolBarFold& fold_;
    TFindBar* bar_ = nullptr;
    TThreadFilter* filter_ = nullptr;
};

}  // namespace teluri

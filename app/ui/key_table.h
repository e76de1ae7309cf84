// Help > "キーボード操作(&K)": every key of the program in one table, by
// menu. The menu commands' keys are read from the menus as they stand, so
// that the table lists every command that has one; the keys that no menu
// holds (in the tree, in the page, for the panes) follow.
#pragma once

#include <QObject>

class QMainWindow;
class QMenu;
class QTableWidget;

namespace teluri {

class KeyTable : public QObject {
  public:
    // Adds a separator and the command at the end of `helpMenu`.
    KeyTable(QMainWindow& window, QMenu& helpMenu);

    // Shows the table in a modal dialog.
    void ShowKeys();

  private:
    void FillTable(QTableWidget& table) const;

    QMainWindow& window_;
};

}  // namespace teluri

// The File menu's submenu "最近使ったフォルダ(&R)": the data folders opened
// last, newest first, with the access keys 1 to 8, kept in Window.ini.
// Choosing one asks for it to be opened; one that is gone is removed from
// the list with a message.
#pragma once

#include <QObject>

#include <string>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace teluri {

class RecentFoldersMenu : public QObject {
    Q_OBJECT

  public:
    // Puts the submenu into `fileMenu` before `before` and fills it from
    // Window.ini; errors are shown over `window`.
    RecentFoldersMenu(QWidget& window, QMenu& fileMenu, QAction& before);

    // Puts an opened folder first in the list and in Window.ini; throws
    // IoError when the file cannot be written.
    void Remember(const std::string& folder);

  signals:
    // A folder of the list was chosen; it exists.
    void folderChosen(const QString& folder);

  private:
    void Choose(const std::string& folder);
    void Store(std::vector<std::string> folders);
    void Fill();

    QWidget& window_;
    QMenu* menu_;
    std::vector<std::string> folders_;
};

}  // namespace teluri

// The base of the window tests that drive the main window: a private
// program folder and data folder (UiFixture) for each test function, the
// window made on demand and destroyed after each test, and the commands the
// tests run most.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

#include "app/ui/main_window.h"
#include "tests/support/pages.h"
#include "tests/ui/ui_support.h"

class QAction;
class QDialog;
class QTextBrowser;
class QTreeView;

namespace teluri::test {

// Chooses the fixture's data folder with the open command and waits until
// the analysis run has ended and what it left for the event loop has run.
void OpenDataFolder(MainWindow& window, UiFixture& fixture);

// Types a text into the search window, runs the search and double-clicks
// the first row; -1 when there is no row.
int SearchAndOpenFirstHit(QDialog& dialog, const QString& text);

class MainWindowTestBase : public QObject {
    Q_OBJECT

  protected:
    UiFixture& fixture() { return *fixture_; }
    MainWindow& window() { return *window_; }
    bool hasWindow() const { return window_ != nullptr; }
    // The thread tree, the page display and the command named `name`.
    QTreeView& tree();
    QTextBrowser& html();
    QAction& action(const char* name);

    // Makes a new main window, not shown yet; the one before is destroyed
    // after the new one is made.
    MainWindow& makeWindow(TutorialLoad tutorial = TutorialLoad::kAtOnce);
    // Makes a new main window and shows it.
    void createWindow();
    // Destroys the window, as the end of the program does.
    void destroyWindow() { window_.reset(); }
    void openDataFolder() { OpenDataFolder(*window_, *fixture_); }

    // Writes a thread and a lone page into the data folder: 1001 with
    // replies 1002 and 1003 (which has 1004), and 1005 alone. `form`: the
    // form of 1003's links.
    void writeThread(LinkForm form = LinkForm::kRelative);

  protected slots:
    // Before and after each test function. A test class with its own init()
    // calls this one first.
    void init();
    void cleanup();

  private:
    std::unique_ptr<UiFixture> fixture_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace teluri::test

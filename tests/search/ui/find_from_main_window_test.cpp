// The search window opened from the main window, searching the main
// window's file list and opening a hit in its display.
#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <filesystem>

#include "app/ui/main_window.h"
#include "htmlview/ui/page_display.h"
#include "tests/support/pages.h"
#include "tests/ui/main_window_fixture.h"
#include "tests/ui/tree_nodes.h"

namespace teluri {
namespace {

using test::FirstLine;
using test::WriteFile;

}  // namespace

class FindFromMainWindowTest : public test::MainWindowTestBase {
    Q_OBJECT

  private:
    void writePages() {
        const auto page = [](const char* number, const char* title) {
            return FirstLine(number, title) + "\r\n<p>body</p>\r\n";
        };
        WriteFile(fixture().DataFile("1001.msg"), page("1001", "C++Builder"));
        WriteFile(fixture().DataFile("1002.msg"), page("1002", "Delphi"));
    }

  private slots:
    void menuKeyAndToolButtonOpenTheOneWindowThatOpensHits() {
        writePages();
        createWindow();
        openDataFolder();
        tree().setCurrentIndex(test::Thread(tree(), 0));
        QList<QDialog*> shown;
        fixture().onDialog = [&](QDialog& dialog) {
            shown.append(&dialog);
            return test::SearchAndOpenFirstHit(dialog, shown.size() == 1 ? "DELPHI" : "builder");
        };
        QCOMPARE(action("Find1").shortcut(), QKeySequence(Qt::Key_F3));
        action("Find1").trigger();
        QVERIFY(!shown[0]->isVisible());
        QVERIFY(window().Page().DocumentUrl().endsWith("/1002.msg"));
        // The tree follows the hit.
        QCOMPARE(test::CurrentNumber(tree()), QString("1002"));
        window().findChild<QToolButton*>("btnFind")->click();
        QVERIFY(window().Page().DocumentUrl().endsWith("/1001.msg"));
        QCOMPARE(fixture().dialogsShown,
                 QStringList({QString::fromUtf8("検索"), QString::fromUtf8("検索")}));
        QCOMPARE(shown[0], shown[1]);
        QVERIFY(fixture().messages.empty());
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::FindFromMainWindowTest)
#include "find_from_main_window_test.moc"

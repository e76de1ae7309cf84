// F4 and Shift+F4 in the main window: the search window's next and previous
// hit opened without showing it, and the note at either end.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "app/ui/main_window.h"
#include "htmlview/ui/page_display.h"
#include "search/ui/find_bar.h"
#include "tests/support/pages.h"
#include "tests/ui/main_window_fixture.h"
#include "tests/ui/tree_nodes.h"
#include "tests/ui/ui_support.h"

namespace teluri {

using test::FirstLine;
using test::WriteFile;

class NextHitTest : public test::MainWindowTestBase {
    Q_OBJECT

  private:
    QString note() { return window().findChild<QLabel*>("StatusNote")->text(); }
    QString shown() { return window().Page().DocumentUrl(); }
    QString current() { return test::CurrentNumber(tree()); }
    void key(Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(&window(), Qt::Key_F4, modifiers);
    }

    // Runs a search for `text` in the search window and closes it.
    void search(const char* text) {
        fixture().onDialog = [text](QDialog& dialog) {
            dialog.show();
            dialog.findChild<QComboBox*>("cmbFind")->setEditText(text);
            dialog.findChild<QPushButton*>("BitBtn1")->click();
            return QDialog::Rejected;
        };
        window().findChild<QAction*>("Find1")->trigger();
    }

  private slots:
    void init() {
        MainWindowTestBase::init();
        const auto page = [](const char* number, const char* body) {
            return FirstLine(number, "Title") + "\r\n<p>" + body + "</p>\r\n";
        };
        WriteFile(fixture().DataFile("1001.msg"), page("1001", "a kylix page"));
        WriteFile(fixture().DataFile("1002.msg"), page("1002", "nothing"));
        WriteFile(fixture().DataFile("1003.msg"), page("1003", "Kylix again"));
        createWindow();
        openDataFolder();
        window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
    }

    void theViewMenuHoldsTheCommands() {
        auto& next = *window().findChild<QAction*>("NextHit1");
        auto& previous = *window().findChild<QAction*>("PreviousHit1");
        QCOMPARE(next.text(), QString::fromUtf8("次の検索結果"));
        QCOMPARE(next.shortcut(), QKeySequence("F4"));
        QCOMPARE(previous.text(), QString::fromUtf8("前の検索結果"));
        QCOMPARE(previous.shortcut(), QKeySequence("Shift+F4"));
        QVERIFY(window().findChild<QMenu*>("View1")->actions().contains(&next));
    }

    void f4OpensTheHitsInListOrderAndStopsAtBothEnds() {
        key();
        QCOMPARE(note(), QString::fromUtf8("検索結果がありません"));
        search("KYLIX");
        QCOMPARE(fixture().dialogsShown.size(), 1);
        key();
        QVERIFY(shown().endsWith("/1001.msg"));
        QCOMPARE(current(), QString("1001"));  // its node selected
        FindBar& bar = *window().findChild<FindBar*>("pnlFindBar");
        QVERIFY(bar.isVisible());
        QCOMPARE(bar.findChild<QLineEdit*>("edtFindText")->text(), QString("KYLIX"));
        QCOMPARE(bar.CountText(), QString("1 / 1"));
        QCOMPARE(note(), QString());
        key();
        QVERIFY(shown().endsWith("/1003.msg"));
        QCOMPARE(current(), QString("1003"));
        key();  // the last: nothing moves
        QVERIFY(shown().endsWith("/1003.msg"));
        QCOMPARE(current(), QString("1003"));
        QCOMPARE(note(), QString::fromUtf8("次の検索結果はありません"));
        key(Qt::ShiftModifier);
        QVERIFY(shown().endsWith("/1001.msg"));
        QCOMPARE(note(), QString());
        key(Qt::ShiftModifier);
        QVERIFY(shown().endsWith("/1001.msg"));
        QCOMPARE(note(), QString::fromUtf8("前の検索結果はありません"));
        QCOMPARE(fixture().dialogsShown.size(), 1);  // the search window stayed closed
        QVERIFY(fixture().messages.empty());
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::NextHitTest)
#include "next_hit_test.moc"

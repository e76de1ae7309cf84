// Finding in the main window: the find bar under the page, an opened search
// hit marked in it, and the thread filter in the tool bar, driven with the
// keyboard under the offscreen platform.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "app/ui/main_window.h"
#include "htmlview/ui/page_view.h"
#include "search/ui/find_bar.h"
#include "search/ui/thread_filter.h"
#include "tests/support/pages.h"
#include "tests/ui/main_window_fixture.h"
#include "tests/ui/tree_nodes.h"

namespace teluri {
namespace {

using test::FirstLine;
using test::Sjis;
using test::WriteFile;

}  // namespace

class FindingTest : public test::MainWindowTestBase {
    Q_OBJECT

  private:
    FindBar& bar() { return *window().findChild<FindBar*>("pnlFindBar"); }
    QLineEdit& barField() { return *bar().findChild<QLineEdit*>("edtFindText"); }
    ThreadFilter& filter() { return *window().findChild<ThreadFilter*>("edtFilter"); }
    PageView& page() { return *window().findChild<PageView*>("HTML1"); }
    QString selection() { return window().Page().SelectionText(-1, 0); }

    void writePages() {
        const auto page = [](const char* number, const char* title, const std::string& body) {
            return FirstLine(number, title) + "\r\n" + body + "\r\n";
        };
        WriteFile(fixture().DataFile("1001.msg"),
                  page("1001", "Delphi", "<p>Zyxwvut once, zyxwvut twice</p>"));
        WriteFile(fixture().DataFile("1002.msg"),
                  page("1002", "Kylix", Sjis("<p class=\"markuponly\">フォームの話</p>")));
    }

  private slots:
    void init() {
        MainWindowTestBase::init();
        writePages();
        createWindow();
        openDataFolder();
        window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
    }

    void theViewMenuHoldsTheFindCommands() {
        QMenu* view = window().findChild<QMenu*>("View1");
        QCOMPARE(action("FindInPage1").shortcut(), QKeySequence("Ctrl+F"));
        QCOMPARE(action("FindNext1").shortcut(), QKeySequence("Ctrl+G"));
        QCOMPARE(action("FindPrevious1").shortcut(), QKeySequence("Ctrl+Shift+G"));
        QCOMPARE(action("FilterThreads1").shortcut(), QKeySequence("Ctrl+L"));
        for (const char* name : {"FindInPage1", "FindNext1", "FindPrevious1", "FilterThreads1"}) {
            QVERIFY(view->actions().contains(&action(name)));
        }
        // F3 stays the search window's.
        QCOMPARE(action("Find1").shortcut(), QKeySequence("F3"));
    }

    void ctrlFTypingEnterAndCtrlCCopyTheOccurrence() {
        tree().setCurrentIndex(test::Thread(tree(), 0));
        QTest::keyClick(&window(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(bar().isVisible());
        QVERIFY(barField().hasFocus());
        QTest::keyClicks(&barField(), "ZYXWVUT");
        QCOMPARE(bar().CountText(), QString("1 / 2"));
        QTest::keyClick(&barField(), Qt::Key_Return);
        QCOMPARE(bar().CountText(), QString("2 / 2"));
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(&barField(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("zyxwvut"));
        // Text selected in the field is the field's to copy.
        barField().selectAll();
        QTest::keyClick(&barField(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("ZYXWVUT"));
        // Ctrl+G and Ctrl+Shift+G with the bar closed.
        QTest::keyClick(&barField(), Qt::Key_Escape);
        QVERIFY(!bar().isVisible());
        QTest::keyClick(&window(), Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(selection(), QString("Zyxwvut"));
        QTest::keyClick(&window(), Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(selection(), QString("zyxwvut"));
        QVERIFY(page().extraSelections().isEmpty());
    }

    void anOpenedSearchHitIsMarkedUnlessOnlyItsMarkupHoldsTheText() {
        QStringList texts = {"zyxwvut", "MarkupOnly"};
        fixture().onDialog = [&texts](QDialog& dialog) {
            return test::SearchAndOpenFirstHit(dialog, texts.takeFirst());
        };
        action("Find1").trigger();
        QVERIFY(page().DocumentUrl().endsWith("/1001.msg"));
        QVERIFY(bar().isVisible());
        QCOMPARE(bar().Text(), QString("zyxwvut"));
        QCOMPARE(bar().CountText(), QString("1 / 2"));
        QCOMPARE(selection(), QString("Zyxwvut"));
        QCOMPARE(page().extraSelections().size(), 2);
        QVERIFY(page().hasFocus());
        bar().Close();
        action("Find1").trigger();
        QVERIFY(page().DocumentUrl().endsWith("/1002.msg"));
        QVERIFY(!bar().isVisible());
        QVERIFY(page().extraSelections().isEmpty());
        QVERIFY(fixture().messages.empty());
    }

    void pagesFromTheTreeAreMarkedOnlyWithTheBarOpen() {
        tree().setCurrentIndex(test::Thread(tree(), 1));
        action("FindInPage1").trigger();
        QTest::keyClicks(&barField(), "zyxwvut");
        bar().Close();
        tree().setCurrentIndex(test::Thread(tree(), 0));
        // The bar would mark the page from a call the load posted.
        QVERIFY(test::WaitForPostedCalls());
        QVERIFY(page().extraSelections().isEmpty());
        action("FindInPage1").trigger();
        QCOMPARE(page().extraSelections().size(), 2);
    }

    void ctrlLFiltersTheTreeAfterARunAndAfterADraftOpen() {
        QTest::keyClick(&window(), Qt::Key_L, Qt::ControlModifier);
        QVERIFY(filter().hasFocus());
        QTest::keyClicks(&filter(), "zyxw");
        QVERIFY(!test::IsHidden(tree(), test::Thread(tree(), 0)));
        QVERIFY(test::IsHidden(tree(), test::Thread(tree(), 1)));
        QCOMPARE(filter().CountText(), QString::fromUtf8("1 件"));
        QTest::keyClick(&filter(), Qt::Key_Return);
        QCOMPARE(tree().currentIndex(), test::Thread(tree(), 0));
        QVERIFY(page().DocumentUrl().endsWith("/1001.msg"));
        // The draft open fills the tree anew: the filter starts over.
        action("QuickOpen1").trigger();
        QCOMPARE(filter().text(), QString());
        QCOMPARE(test::ThreadCount(tree()), 2);
        filter().setText(QString::fromUtf8("フォーム"));
        QVERIFY(test::IsHidden(tree(), test::Thread(tree(), 0)));
        QVERIFY(!test::IsHidden(tree(), test::Thread(tree(), 1)));
        QVERIFY(fixture().messages.empty());
    }

    void ctrlLUnfoldsAFoldedToolBar() {
        QWidget* panel = filter().parentWidget();
        QTest::mouseClick(window().findChild<QWidget*>("Image1"), Qt::LeftButton);
        QVERIFY(panel->isHidden());
        QTest::keyClick(&window(), Qt::Key_L, Qt::ControlModifier);
        QVERIFY(!panel->isHidden());
        QVERIFY(filter().hasFocus());
    }

    void theFilterStaysAtTheToolBarsRightEnd() {
        QWidget* panel = filter().parentWidget();
        QCOMPARE(panel->objectName(), QString("Panel1"));
        window().showNormal();
        // The tool bar spans the window; the filter is placed as it resizes.
        window().resize(900, 500);
        QTRY_COMPARE(panel->width(), 900);
        QCOMPARE(panel->width() - filter().geometry().right() - 1, 6);
        window().resize(700, 500);
        QTRY_COMPARE(panel->width(), 700);
        QCOMPARE(panel->width() - filter().geometry().right() - 1, 6);
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::FindingTest)
#include "finding_test.moc"

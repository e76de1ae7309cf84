// Knowing where one is in the archive, in the main window under the
// offscreen platform: the status bar, the tree following the page and
// scrolling deep threads into view, the dwell rule and the read-mark
// commands with their undo, Space from the tree, going to a number, the
// page picked up again per folder, the link preview closing, un-maximising
// and the key table.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSplitter>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeView>

#include <filesystem>

#include "activity/ui/panel_status_bar.h"
#include "app/ui/main_window.h"
#include "base/paths.h"
#include "base/ui/qtext.h"
#include "htmlview/ui/page_display.h"
#include "settings/settings_file.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/main_window_fixture.h"
#include "tests/ui/tree_nodes.h"
#include "tests/ui/ui_support.h"

namespace teluri {
namespace {

using test::Page;
using test::ReadFile;
using test::Sjis;
using test::WriteFile;

std::string Number(int value) {
    return std::to_string(value);
}

}  // namespace

class OrientationTest : public test::MainWindowTestBase {
    Q_OBJECT

  private:
    PanelStatusBar& status() { return *window().findChild<PanelStatusBar*>("StatusBar1"); }
    QString shown() { return window().Page().DocumentUrl(); }
    QString page(const char* number) {
        return QString::fromStdString(PageUrl(fixture().DataFile(number + std::string(".msg"))));
    }
    QString current() { return test::CurrentNumber(tree()); }
    QModelIndex node(const char* number) { return test::FindNode(tree(), number); }
    void key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QApplication::setActiveWindow(&window());
        QTest::keyClick(widget, static_cast<Qt::Key>(key), modifiers);
    }
    std::string readDat() { return ReadFile(fixture().HomeFile("Read.dat")); }

    // 1001 with replies 1002 and 1003 (which has 1004), and 1005 alone.
    void writeThread(const std::string& folder) {
        WriteFile(folder + "1001.msg", Page("1001", Sjis("質問"), {}, {"1002", "1003"}));
        WriteFile(folder + "1002.msg", Page("1002", Sjis("Re: 質問"), "1001"));
        WriteFile(folder + "1003.msg", Page("1003", Sjis("Re: 質問"), "1001", {"1004"}));
        WriteFile(folder + "1004.msg", Page("1004", "Delphi", "1003"));
        WriteFile(folder + "1005.msg", Page("1005", Sjis("別の話")));
    }
    // A chain of `count` pages from 2000, each replying to the one before.
    void writeChain(int count) {
        for (int i = 0; i < count; ++i) {
            const std::string number = Number(2000 + i);
            WriteFile(fixture().DataFile(number + ".msg"),
                      Page(number, "level " + Number(i), i > 0 ? Number(1999 + i) : "",
                           i + 1 < count ? std::vector<std::string>{Number(2001 + i)}
                                         : std::vector<std::string>{}));
        }
    }
    void createActiveWindow() {
        createWindow();
        QApplication::setActiveWindow(&window());
    }
    void openThread() {
        writeThread(fixture().Data());
        createActiveWindow();
        openDataFolder();
    }
    // The text after the panels.
    QString rest() { return status().TextAt(3); }

  private slots:
    void statusBarTellsWhereThePageStands() {
        openThread();
        QCOMPARE(rest(), Text("5 ページ　2 スレッド　未読 5"));
        tree().setCurrentIndex(node("1004"));
        QCOMPARE(status().TextAt(1), QString("No.1004"));
        QCOMPARE(status().TextAt(2), Text("深さ2"));
        QCOMPARE(rest(), Text("Delphi　｜　スレッド 1001　4 / 4　｜　未読 スレッド 4・全体 5"));
        // Once read, the counts follow.
        QTRY_COMPARE(rest(), Text("Delphi　｜　スレッド 1001　4 / 4　｜　未読 スレッド 3・全体 4"));
        // A page without a node: its number and title.
        WriteFile(fixture().DataFile("1009.msg"), Page("1009", "late"));
        window().Page().LoadUrl(page("1009"));
        QCOMPARE(status().TextAt(1), QString("No.1009"));
        QCOMPARE(status().TextAt(2), QString());
        QCOMPARE(rest(), QString("late"));
        // The tutorial: its title only.
        action("Tutorial1").trigger();
        QCOMPARE(status().TextAt(1), QString());
        QCOMPARE(rest(), Text("TeluriExplorer の使い方"));
        // N with nothing unread.
        fixture().questionAnswers.push_back(true);
        action("MarkAllRead1").trigger();
        key(&tree(), Qt::Key_N);
        QCOMPARE(rest(), Text("未読のページはありません"));
    }

    void arrowKeysMarkNothingButASecondOnANodeDoes() {
        for (int i = 0; i < 12; ++i) {
            WriteFile(fixture().DataFile(Number(2000 + i) + ".msg"),
                      Page(Number(2000 + i), "alone"));
        }
        createActiveWindow();
        openDataFolder();
        tree().setFocus();
        tree().setCurrentIndex(node("2000"));
        for (int i = 0; i < 10; ++i) {
            key(&tree(), Qt::Key_Down);
        }
        QCOMPARE(current(), QString("2010"));
        // The last node stays a second: it is read, the ten passed over not.
        QTRY_VERIFY(rest().endsWith(Text("全体 11")));
        destroyWindow();
        QCOMPARE(readDat(), "[" + fixture().Data() + "]\r\n2010\r\n");
    }

    void markUnreadThreadReadAllReadAndUndo() {
        openThread();
        tree().setFocus();
        tree().setCurrentIndex(node("1002"));
        key(&tree(), Qt::Key_M);  // read at once
        QVERIFY(rest().endsWith(Text("全体 4")));
        key(&tree(), Qt::Key_M);  // unread again, and it stays so
        QVERIFY(rest().endsWith(Text("全体 5")));
        key(&tree(), Qt::Key_R);  // the whole thread of 1001
        QVERIFY(rest().endsWith(Text("未読 スレッド 0・全体 1")));
        html().setFocus();
        key(&html(), Qt::Key_Z, Qt::ControlModifier);  // R undone
        QVERIFY(rest().endsWith(Text("全体 5")));
        key(&tree(), Qt::Key_Z, Qt::ControlModifier);  // the second M
        QVERIFY(rest().endsWith(Text("全体 4")));
        key(&tree(), Qt::Key_Z, Qt::ControlModifier);  // the first M
        QVERIFY(rest().endsWith(Text("全体 5")));
        key(&tree(), Qt::Key_Z, Qt::ControlModifier);  // nothing left
        QVERIFY(rest().endsWith(Text("全体 5")));
        // All read asks first, naming the count; No changes nothing.
        action("MarkAllRead1").trigger();
        QCOMPARE(fixture().questions,
                 QStringList(Text("5 ページを既読にします。よろしいですか？")));
        QVERIFY(rest().endsWith(Text("全体 5")));
        fixture().questionAnswers.push_back(true);
        action("MarkAllRead1").trigger();
        QVERIFY(rest().endsWith(Text("全体 0")));
        key(&tree(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(rest().endsWith(Text("全体 5")));
        destroyWindow();
        QCOMPARE(readDat(), "[" + fixture().Data() + "]\r\n");
    }

    void spaceFromTheTreeScrollsThePageAndMarksIt() {
        writeThread(fixture().Data());
        const std::string longPage = Page("1005", "long") + test::ManyLines();
        WriteFile(fixture().DataFile("1005.msg"), longPage);
        createActiveWindow();
        openDataFolder();
        tree().setCurrentIndex(node("1005"));
        tree().setFocus();
        QScrollBar& bar = *html().verticalScrollBar();
        key(&tree(), Qt::Key_Space);
        QVERIFY(bar.value() > 0);
        QVERIFY(rest().endsWith(Text("全体 4")));  // scrolled: read at once
        key(&tree(), Qt::Key_Space, Qt::ShiftModifier);
        QCOMPARE(bar.value(), 0);
        while (bar.value() < bar.maximum()) {
            key(&tree(), Qt::Key_Space);
        }
        key(&tree(), Qt::Key_Space);  // at the bottom: the next unread
        QCOMPARE(current(), QString("1001"));
        QCOMPARE(shown(), page("1001"));
    }

    void goToANumber() {
        openThread();
        WriteFile(fixture().DataFile("1009.msg"), Page("1009", "late"));
        QString typed;
        fixture().onDialog = [&typed](QDialog& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>("edtNumber");
            edit->clear();
            QTest::keyClicks(edit, typed);
            return QDialog::Accepted;
        };
        typed = "1a0-0 34";  // only digits, at most four
        key(&window(), Qt::Key_J, Qt::ControlModifier);
        QCOMPARE(shown(), page("1003"));
        QCOMPARE(current(), QString("1003"));
        typed = "42";
        key(&window(), Qt::Key_J, Qt::ControlModifier);
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QCOMPARE(fixture().messages[0].text, Text("0042.msg はありません"));
        QCOMPARE(shown(), page("1003"));
        QCOMPARE(current(), QString("1003"));
        typed = "1009";  // a page without a node
        action("GoToNumber1").trigger();
        QCOMPARE(shown(), page("1009"));
        QCOMPARE(current(), QString());
    }

    void theTreeFollowsBackForwardAndHits() {
        openThread();
        tree().setCurrentIndex(node("1004"));
        tree().setCurrentIndex(node("1002"));
        action("Back1").trigger();
        QCOMPARE(current(), QString("1004"));
        QCOMPARE(shown(), page("1004"));
        QVERIFY(action("Forward1").isEnabled());  // no new entry
        action("Forward1").trigger();
        QCOMPARE(current(), QString("1002"));
        // As a bookmark or a search hit shows a page.
        window().Page().LoadUrl(page("1005"));
        QCOMPARE(current(), QString("1005"));
    }

    void thePageIsPickedUpAgainAfterARestart() {
        openThread();
        tree().setCurrentIndex(node("1004"));
        window().close();
        QVERIFY(ReadFile(fixture().HomeFile("Window.ini"))
                    .find("[LastPage]\r\nFolder1=" + fixture().Data() + "\r\nPage1=1004\r\n") !=
                std::string::npos);
        // The draft open at start-up shows it again, its node selected.
        SettingsFile(fixture().HomeFile("Teluri.ini")).WriteFlag("Startup", "DraftOpen", true);
        createActiveWindow();
        QTRY_COMPARE(shown(), page("1004"));
        QCOMPARE(current(), QString("1004"));
        QVERIFY(tree().isExpanded(node("1003")));
        QCOMPARE(rest(), Text("Delphi　｜　スレッド 1001　4 / 4　｜　未読 スレッド 4・全体 5"));
    }

    void anotherFolderDoesNotShowThePreviousFoldersPage() {
        openThread();
        tree().setCurrentIndex(node("1004"));
        test::TempFolder other;
        WriteFile(other / "3001.msg", Page("3001", "other"));
        fixture().folderAnswers.push_back(QString::fromStdString(other.Path()));
        action("Open1").trigger();
        QTRY_VERIFY(node("3001").isValid());
        QCOMPARE(shown(), QString());
        QVERIFY(html().toPlainText().isEmpty());
        QCOMPARE(rest(), Text("1 ページ　1 スレッド　未読 1"));
        // Back to the first folder: its page again.
        openDataFolder();
        QCOMPARE(shown(), page("1004"));
        QCOMPARE(current(), QString("1004"));
    }

    void aDeepNodeIsScrolledIntoViewSideways() {
        writeChain(70);
        createActiveWindow();
        window().findChild<QSplitter*>("Splitter1")->setSizes({280, 600});
        openDataFolder();
        QCOMPARE(tree().width(), 280);
        tree().expandAll();
        QScrollBar& bar = *tree().horizontalScrollBar();
        const auto pictureInView = [this](const char* number) {
            const QRect rect = tree().visualRect(node(number));
            const int rowHeight = rect.height();
            // The picture and the start of the text in view, and the reply
            // below it too.
            return rect.left() >= 0 && rect.left() + 16 + 40 <= tree().viewport()->width() &&
                   rect.top() >= 0 && rect.bottom() + rowHeight <= tree().viewport()->height();
        };
        // Depth 60 by number; back to the top by a link's way; by keys.
        QString typed = "2060";
        fixture().onDialog = [&typed](QDialog& dialog) {
            dialog.findChild<QLineEdit*>("edtNumber")->setText(typed);
            return QDialog::Accepted;
        };
        action("GoToNumber1").trigger();
        QCOMPARE(current(), QString("2060"));
        QTRY_VERIFY(pictureInView("2060"));
        QVERIFY(bar.value() > 0);
        typed = "2000";
        action("GoToNumber1").trigger();
        QTRY_VERIFY(pictureInView("2000"));
        QCOMPARE(bar.value(), 0);
        action("Back1").trigger();
        QCOMPARE(current(), QString("2060"));
        QTRY_VERIFY(pictureInView("2060"));
        key(&tree(), Qt::Key_Down);
        QTRY_VERIFY(pictureInView("2061"));
        // Scrolled away, Ctrl+T brings it back.
        bar.setValue(0);
        tree().verticalScrollBar()->setValue(0);
        action("ShowInTree1").trigger();
        QTRY_VERIFY(pictureInView("2061"));
    }

    void theLinkPreviewClosesOnAnyPress() {
        openThread();
        tree().setCurrentIndex(node("1002"));
        const QPoint at = html().cursorRect(html().document()->find("1001")).center();
        QTest::mouseMove(html().viewport(), at);
        QLabel& preview = *html().findChild<QLabel*>("PreviewPopup");
        QTRY_VERIFY(preview.isVisible());
        key(&html(), Qt::Key_Shift);
        QTRY_VERIFY(!preview.isVisible());
        // A press before the preview opens stops it.
        QTest::mouseMove(html().viewport(), QPoint(1, html().viewport()->height() - 2));
        QTest::mouseMove(html().viewport(), at);
        auto* timer = window().findChild<QTimer*>("tmrLinkPreview");
        QTRY_VERIFY(timer->isActive());
        QTest::mousePress(html().viewport(), Qt::RightButton, {}, at);
        QVERIFY(!timer->isActive());
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
    }

    void unmaximisingNarrowsTheTreeAndKeepsTheSelection() {
        openThread();
        QVERIFY(window().isMaximized());
        auto& splitter = *window().findChild<QSplitter*>("Splitter1");
        const int total = splitter.sizes()[0] + splitter.sizes()[1];
        splitter.setSizes({total * 9 / 10, total / 10});
        tree().setCurrentIndex(node("1003"));
        window().showNormal();
        QTRY_VERIFY(!window().isMaximized());
        QTRY_VERIFY(splitter.sizes()[0] <= window().width() / 2);
        QCOMPARE(current(), QString("1003"));
        QCOMPARE(shown(), page("1003"));
    }

    void theKeyTableListsEveryMenuKey() {
        createActiveWindow();
        const QList<QAction*> help = window().findChild<QMenu*>("Help1")->actions();
        QVERIFY(help[help.size() - 2]->isSeparator());
        QCOMPARE(help.back()->text(), Text("キーボード操作(&K)"));
        QStringList rows;
        fixture().onDialog = [&rows](QDialog& dialog) {
            auto* table = dialog.findChild<QTableWidget*>("tblKeys");
            for (int row = 0; row < table->rowCount(); ++row) {
                rows.append(table->item(row, 0)->text() + "|" + table->item(row, 1)->text() + "|" +
                            table->item(row, 2)->text());
            }
            return QDialog::Rejected;
        };
        help.back()->trigger();
        for (const char* row : {"ファイル|開く...|Ctrl+O", "編集|検索....|F3", "表示|次の未読|N",
                                "表示|番号へ移動...|Ctrl+J", "表示|既読の変更を元に戻す|Ctrl+Z",
                                "表示|ページ内を検索...|Ctrl+F",
                                "ツリー・内容|内容をスクロール、最後まで読んだら次の未読へ|Space",
                                "ウィンドウ|メニューバーへ|F10"}) {
            QVERIFY2(rows.contains(Text(row)), row);
        }
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::OrientationTest)
#include "orientation_test.moc"

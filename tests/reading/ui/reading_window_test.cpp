// The reading commands in the main window under the offscreen platform:
// links, back and forward, read marks, zoom, the remembered window, and the
// order of the blocks of the sample pages.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>

#include <filesystem>

#include "app/ui/main_window.h"
#include "base/paths.h"
#include "base/ui/qtext.h"
#include "htmlview/ui/page_display.h"
#include "tests/support/pages.h"
#include "tests/ui/main_window_fixture.h"
#include "tests/ui/tree_nodes.h"

namespace teluri {
namespace {

using test::LinkForm;
using test::Page;
using test::ReadFile;
using test::Sjis;
using test::WriteFile;

QString UrlOf(const std::string& path) {
    return QString::fromStdString(PageUrl(path));
}

// The document's blocks: "<hr>" for a rule's block, else the block's text.
QStringList Blocks(const QTextDocument& document) {
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const bool rule =
            block.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
        blocks.append(rule ? "<hr>" + block.text().trimmed() : block.text().trimmed());
    }
    return blocks;
}

}  // namespace

class ReadingWindowTest : public test::MainWindowTestBase {
    Q_OBJECT

  private:
    QString shown() { return window().Page().DocumentUrl(); }
    QString page(const char* number) {
        return UrlOf(fixture().DataFile(number + std::string(".msg")));
    }
    QString current() { return test::CurrentNumber(tree()); }

    // The window, made the active one, as the keys of the tests need.
    void createActiveWindow() {
        createWindow();
        QApplication::setActiveWindow(&window());
    }

    // The thread, 1003's links in the absolute form, in the window.
    void openThread() {
        writeThread(LinkForm::kAbsolute);
        createActiveWindow();
        openDataFolder();
    }

    QModelIndex node(const char* number) { return test::FindNode(tree(), number); }

    // The width the tree gives a node's row: bold rows are wider.
    int rowWidth(const char* number) {
        const QModelIndex index =
            tree()
                .model()
                ->match(tree().model()->index(0, 0), Qt::DisplayRole, QString(number), 1,
                        Qt::MatchStartsWith | Qt::MatchRecursive)
                .value(0);
        QStyleOptionViewItem option;
        option.initFrom(&tree());
        return tree().itemDelegateForIndex(index)->sizeHint(option, index).width();
    }

    void key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QApplication::setActiveWindow(&window());
        QTest::keyClick(widget, static_cast<Qt::Key>(key), modifiers);
    }

  private slots:
    void viewMenuHoldsTheCommandsWithTheirKeys() {
        createActiveWindow();
        QStringList items;
        for (QAction* item : window().findChild<QMenu*>("View1")->actions()) {
            items.append(item->isSeparator() ? "-"
                                             : item->text() + " " + item->shortcut().toString());
        }
        // The reading commands come first; the finding commands follow.
        QCOMPARE(
            items.mid(0, 14),
            QStringList({Text("戻る Alt+Left"), Text("進む Alt+Right"), Text("ツリーで表示 Ctrl+T"),
                         Text("番号へ移動... Ctrl+J"), "-", Text("次の未読 N"),
                         Text("すべて既読にする "), Text("未読にする / 既読にする M"),
                         Text("スレッドを既読にする R"), Text("既読の変更を元に戻す Ctrl+Z"), "-",
                         Text("拡大 Ctrl++"), Text("縮小 Ctrl+-"), Text("標準の大きさ Ctrl+0")}));
        // The back and forward buttons stand right after the first five.
        QCOMPARE(window().findChild<QToolButton*>("btnBack")->geometry(), QRect(155, 4, 23, 23));
        QCOMPARE(window().findChild<QToolButton*>("btnForward")->geometry(), QRect(178, 4, 23, 23));
    }

    void linksShowTheirPagesAndSelectTheirNodes() {
        openThread();
        tree().setCurrentIndex(node("1001"));
        // Tab reaches the first link, Enter follows it.
        html().setFocus();
        key(&html(), Qt::Key_Tab);
        key(&html(), Qt::Key_Return);
        QCOMPARE(shown(), page("1002"));
        QCOMPARE(current(), QString("1002"));
        // The absolute form too; a node below a collapsed one is expanded.
        window().Page().LoadUrl(page("1003"));
        tree().collapseAll();
        emit html().anchorClicked(QUrl("http://www.orvak.example/teluri/view3.cgi?1004"));
        QCOMPARE(shown(), page("1004"));
        QCOMPARE(current(), QString("1004"));
        QVERIFY(tree().isExpanded(node("1003")));
        // A page of the folder without a node: no node is selected.
        WriteFile(fixture().DataFile("1009.msg"), Page("1009", "late"));
        emit html().anchorClicked(QUrl("./view3.cgi?1009"));
        QCOMPARE(shown(), page("1009"));
        QCOMPARE(current(), QString());
        // A target without a file: a note, nothing else changes.
        emit html().anchorClicked(QUrl("./view3.cgi?1006"));
        QCOMPARE(shown(), page("1009"));
        QCOMPARE(QToolTip::text(), Text("1006.msg はありません"));
        // Web addresses go to the browser; other schemes nowhere.
        emit html().anchorClicked(QUrl("https://example.org/a"));
        emit html().anchorClicked(QUrl("mailto:a@example.org"));
        emit html().anchorClicked(QUrl("file:///etc/passwd"));
        QCOMPARE(fixture().openedUrls, QStringList({"https://example.org/a"}));
        QCOMPARE(shown(), page("1009"));
        // A link to a place in the same page scrolls there.
        const std::string longPage =
            Page("1010", "long") + "<a href=\"#end\">end</a>" + test::ManyLines();
        WriteFile(fixture().DataFile("1010.msg"), longPage + "<a name=\"end\">here</a>\r\n");
        window().Page().LoadUrl(page("1010"));
        QCOMPARE(html().verticalScrollBar()->value(), 0);
        emit html().anchorClicked(QUrl("#end"));
        QVERIFY(html().verticalScrollBar()->value() > 0);
        QCOMPARE(shown(), page("1010"));
        QVERIFY(fixture().messages.empty());
    }

    void linkPreviewShowsTitleAndFirstLines() {
        openThread();
        tree().setCurrentIndex(node("1002"));
        // The pointer rests on the parent link.
        QTextCursor cursor = html().document()->find("1001");
        const QPoint at = html().cursorRect(cursor).center();
        QTest::mouseMove(html().viewport(), at);
        QLabel& popup = *html().findChild<QLabel*>("PreviewPopup");
        QVERIFY(QTest::qWaitFor([&popup] { return popup.isVisible(); }, 2000));
        QVERIFY(popup.text().contains(Text("1001 C++Builderの質問")));
        QVERIFY(popup.text().contains(Text("本文です。")));
        // A target without a file: the same one-line note as a click gives.
        std::filesystem::remove(fixture().DataFile("1001.msg"));
        QTest::mouseMove(html().viewport(), QPoint(1, html().viewport()->height() - 2));
        QVERIFY(QTest::qWaitFor([&popup] { return !popup.isVisible(); }, 2000));  // left the link
        QTest::mouseMove(html().viewport(), at);
        QVERIFY(QTest::qWaitFor([&popup] { return popup.isVisible(); }, 2000));
        QCOMPARE(popup.text(), Text("1001.msg はありません"));
    }

    void backAndForwardOverEveryPageShown() {
        openThread();
        QToolButton& back = *window().findChild<QToolButton*>("btnBack");
        QToolButton& forward = *window().findChild<QToolButton*>("btnForward");
        const QString tutorial = shown();
        tree().setCurrentIndex(node("1001"));
        window().Page().LoadUrl(page("1005"));  // as a bookmark or a search hit shows it
        QVERIFY(back.isEnabled());
        QVERIFY(!forward.isEnabled());
        key(&window(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(shown(), page("1001"));
        back.click();
        QCOMPARE(shown(), tutorial);
        QVERIFY(!back.isEnabled());
        QCOMPARE(current(), QString());  // the tutorial has no node
        key(&window(), Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(shown(), page("1001"));
        QTest::mousePress(html().viewport(), Qt::ForwardButton);
        QCOMPARE(shown(), page("1005"));
        QVERIFY(!forward.isEnabled());
        QTest::mousePress(tree().viewport(), Qt::BackButton);
        QCOMPARE(shown(), page("1001"));
        // A page shown now drops the pages ahead.
        tree().setCurrentIndex(node("1002"));
        QVERIFY(!forward.isEnabled());
        // New font sizes show the same page again: no new entry.
        action("ZoomIn1").trigger();
        action("Back1").trigger();
        QCOMPARE(shown(), page("1001"));
    }

    void showInTreeSelectsTheNodeOfThePageOnShow() {
        openThread();
        tree().setCurrentIndex(node("1005"));
        tree().collapseAll();
        window().Page().LoadUrl(page("1004"));  // the tree follows the page
        QCOMPARE(current(), QString("1004"));
        tree().setCurrentIndex({});
        tree().collapseAll();
        key(&window(), Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(current(), QString("1004"));
        QVERIFY(tree().isExpanded(node("1003")));
        QCOMPARE(shown(), page("1004"));
        // The tutorial has no node: none is selected, and Ctrl+T finds none.
        window().findChild<QAction*>("Tutorial1")->trigger();
        action("ShowInTree1").trigger();
        QCOMPARE(current(), QString());
    }

    void readMarksBoldNextUnreadAndReadDat() {
        // Read.dat with another folder's marks and a line of its own.
        WriteFile(fixture().HomeFile("Read.dat"), "[/elsewhere/]\r\n1001\r\nnote\r\n");
        openThread();
        const int unread = rowWidth("1001");
        tree().setCurrentIndex(node("1001"));
        QCOMPARE(rowWidth("1001"), unread);  // read after a second on show
        QTRY_VERIFY(rowWidth("1001") < unread);
        // N: the next unread page in tree order, wrapping, past nodes whose
        // page file has gone and past the page passed over (1004).
        std::filesystem::remove(fixture().DataFile("1002.msg"));
        tree().setCurrentIndex(node("1004"));
        for (const char* next : {"1005", "1003", "1004"}) {
            const int bold = rowWidth(next);
            key(&tree(), Qt::Key_N);
            QCOMPARE(current(), QString(next));
            QTRY_VERIFY(rowWidth(next) < bold);
        }
        key(&tree(), Qt::Key_N);  // nothing unread is left
        QCOMPARE(current(), QString("1004"));
        destroyWindow();
        QCOMPARE(ReadFile(fixture().HomeFile("Read.dat")),
                 "[/elsewhere/]\r\n1001\r\nnote\r\n[" + fixture().Data() +
                     "]\r\n1001\r\n1003\r\n1004\r\n1005\r\n");

        // The marks are there at the next start; all read makes every node
        // normal, the one without a page file too.
        createActiveWindow();
        action("QuickOpen1").trigger();
        QVERIFY(rowWidth("1003") < rowWidth("1002"));
        const int bold = rowWidth("1002");
        fixture().questionAnswers.push_back(true);
        action("MarkAllRead1").trigger();
        QCOMPARE(fixture().questions,
                 QStringList(Text("1 ページを既読にします。よろしいですか？")));
        QVERIFY(rowWidth("1002") < bold);
        destroyWindow();
        QVERIFY(ReadFile(fixture().HomeFile("Read.dat"))
                    .ends_with("]\r\n1001\r\n1002\r\n1003\r\n1004\r\n1005\r\n"));
    }

    void threadsHiddenByTheFilterArePassedOver() {
        openThread();
        tree().setCurrentIndex(node("1002"));
        // The thread filter hides the thread of 1001: N and Ctrl+T look at
        // the threads in view only.
        tree().setRowHidden(0, {}, true);
        key(&tree(), Qt::Key_N);
        QCOMPARE(current(), QString("1005"));
        window().Page().LoadUrl(page("1004"));  // its node is hidden: none is selected
        QCOMPARE(current(), QString());
        action("ShowInTree1").trigger();
        QCOMPARE(current(), QString());
        tree().setRowHidden(0, {}, false);
        action("ShowInTree1").trigger();
        QCOMPARE(current(), QString("1004"));
    }

    void spaceScrollsAndThenGoesToTheNextUnread() {
        writeThread(LinkForm::kAbsolute);
        const std::string longPage = Page("1005", "long") + test::ManyLines();
        WriteFile(fixture().DataFile("1005.msg"), longPage);
        createActiveWindow();
        openDataFolder();
        tree().setCurrentIndex(node("1005"));
        html().setFocus();
        QScrollBar& bar = *html().verticalScrollBar();
        QVERIFY(bar.maximum() > 0);
        key(&html(), Qt::Key_Space);
        QVERIFY(bar.value() > 0);
        key(&html(), Qt::Key_Space, Qt::ShiftModifier);
        QCOMPARE(bar.value(), 0);
        while (bar.value() < bar.maximum()) {
            key(&html(), Qt::Key_Space);
        }
        QCOMPARE(shown(), page("1005"));
        key(&html(), Qt::Key_Space);  // at the bottom: the next unread, wrapping
        QCOMPARE(current(), QString("1001"));
        QCOMPARE(shown(), page("1001"));
    }

    void zoomChangesBothSizesForTheSession() {
        WriteFile(fixture().HomeFile("Teluri.ini"), "[Font]\r\nSize=14\r\nFixSize=8\r\n");
        createActiveWindow();
        PageDisplay& display = window().Page();
        key(&window(), Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(display.FontSize(), 15);
        QCOMPARE(display.FixedFontSize(), 9);
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), {}, QPoint(0, -120), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(html().viewport(), &wheel);
        QCOMPARE(display.FontSize(), 14);
        key(&window(), Qt::Key_Minus, Qt::ControlModifier);
        key(&window(), Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(display.FontSize(), 12);
        QCOMPARE(display.FixedFontSize(), 6);
        key(&window(), Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(display.FontSize(), 14);
        QCOMPARE(display.FixedFontSize(), 8);
        // Not stored.
        QCOMPARE(ReadFile(fixture().HomeFile("Teluri.ini")), "[Font]\r\nSize=14\r\nFixSize=8\r\n");
    }

    void windowShapeIsRememberedInWindowIni() {
        createActiveWindow();
        QVERIFY(window().isMaximized());  // no Window.ini: the first start's shape
        window().close();
        const std::string saved = ReadFile(fixture().HomeFile("Window.ini"));
        QVERIFY(saved.starts_with("[Window]\r\nLeft="));
        QVERIFY(saved.find("Maximized=1\r\n") != std::string::npos);
        QVERIFY(!std::filesystem::exists(fixture().HomeFile("Teluri.ini")));

        WriteFile(fixture().HomeFile("Window.ini"),
                  "[Window]\r\nLeft=40\r\nTop=30\r\nWidth=600\r\nHeight=400\r\nMaximized=0\r\n"
                  "TreeWidth=200\r\nToolBarFolded=1\r\n");
        createActiveWindow();
        QVERIFY(!window().isMaximized());
        // Left and Top place the window's inside: the frame around it (two
        // pixels here) is the window system's.
        QCOMPARE(window().geometry(), QRect(40, 30, 600, 400));
        QCOMPARE(window().findChild<QSplitter*>("Splitter1")->sizes().value(0), 200);
        QVERIFY(window().findChild<QWidget*>("pnlSleepBar")->isVisible());
        window().findChild<QSplitter*>("Splitter1")->setSizes({150, 450});
        window().close();
        QCOMPARE(ReadFile(fixture().HomeFile("Window.ini")),
                 "[Window]\r\nLeft=40\r\nTop=30\r\nWidth=600\r\nHeight=400\r\nMaximized=0\r\n"
                 "TreeWidth=150\r\nToolBarFolded=1\r\n");

        // Moved by the user: the same place comes back at the next start.
        createActiveWindow();
        window().setGeometry(70, 50, 640, 420);
        QTRY_COMPARE(window().geometry(), QRect(70, 50, 640, 420));
        window().close();
        QVERIFY(ReadFile(fixture().HomeFile("Window.ini"))
                    .starts_with("[Window]\r\nLeft=70\r\nTop=50\r\nWidth=640\r\nHeight=420\r\n"));
        createActiveWindow();
        QCOMPARE(window().geometry(), QRect(70, 50, 640, 420));

        // A place no screen shows: the window's own place.
        WriteFile(fixture().HomeFile("Window.ini"),
                  "[Window]\r\nLeft=9000\r\nTop=9000\r\nWidth=600\r\nHeight=400\r\n");
        createActiveWindow();
        QVERIFY(!window().isMaximized());
        QCOMPARE(window().size(), QSize(714, 508));
        QVERIFY(window().screen()->geometry().contains(window().geometry()));
    }

    void f10OpensTheMenuBar() {
        createActiveWindow();
        key(&window(), Qt::Key_F10);
        QMenuBar& bar = *window().menuBar();
        QCOMPARE(bar.activeAction(), window().findChild<QMenu*>("File1")->menuAction());
        if (QWidget* popup = QApplication::activePopupWidget()) {
            key(popup, Qt::Key_Escape);
        }
    }

    void samplePagesLayOutTheirBlocksInSourceOrder() {
        createActiveWindow();
        PageDisplay& display = window().Page();
        for (const char* number : {"1001", "1002", "1004", "1008", "1052"}) {
            display.LoadUrl(UrlOf(TELURI_SOURCE_DIR "/sample/" + std::string(number) + ".msg"));
            const QStringList blocks = Blocks(*html().document());
            // Every rule stands in a block of its own, the first right below
            // the title and the last right above the replies or the way back.
            QVERIFY2(blocks.count("<hr>") == 2, number);
            QVERIFY2(blocks.filter("<hr").size() == 2, number);
            QCOMPARE(blocks.indexOf("<hr>"), 1);
            const int last = blocks.lastIndexOf("<hr>");
            QVERIFY2(blocks.value(last + 1).contains(Text("この記事には")) ||
                         blocks.value(last + 1) == Text("[一覧に戻る]"),
                     number);
            QVERIFY2(blocks.back().endsWith(Text("[一覧に戻る]")), number);
        }
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::ReadingWindowTest)
#include "reading_window_test.moc"

// The main window against hostile sizes: a saved tree deeper than the view
// can expand, titles and lines of megabytes, pages of hundreds of megabytes.
// Each must leave the window usable; what is saved stays whole.
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QTreeView>

#include "app/ui/main_window.h"
#include "base/display_text.h"
#include "htmlview/page_excerpt.h"
#include "htmlview/ui/page_display.h"
#include "tests/support/pages.h"
#include "tests/ui/main_window_fixture.h"
#include "tests/ui/tree_nodes.h"
#include "threads/ui/thread_tree_model.h"
#include "threads/ui/tree_depth_guard.h"
#include "threads/ui/tree_walk.h"

namespace teluri {
namespace {

using test::Page;
using test::ReadFile;
using test::WriteFile;

// A chain `depth` nodes deep in Tree.dat form: line i holds i TABs.
std::string DeepTreeDat(int depth) {
    std::string content;
    for (int i = 0; i < depth; ++i) {
        content.append(static_cast<std::size_t>(i), '\t');
        content += "1000:T\r\n";
    }
    return content;
}

QModelIndex NodeAtDepth(const QTreeView& tree, int depth) {
    QModelIndex node = test::Thread(tree, 0);
    for (int i = 0; i < depth; ++i) {
        node = test::Child(node, 0);
    }
    return node;
}

}  // namespace

class WindowLimitsTest : public test::MainWindowTestBase {
    Q_OBJECT

  private:
    void draftOpen(const std::string& treeDat) {
        WriteFile(fixture().HomeFile("Tree.dat"), treeDat);
        action("QuickOpen1").trigger();
    }

  private slots:
    void expandAllStopsAtTheDepthBoundWithAMessage() {
        createWindow();
        draftOpen(DeepTreeDat(kMaxExpandedDepth + 5));
        tree().setCurrentIndex(test::Thread(tree(), 0));
        tree().setFocus();
        QTest::keyClick(&tree(), Qt::Key_Asterisk);
        QVERIFY(tree().isExpanded(NodeAtDepth(tree(), kMaxExpandedDepth - 1)));
        QVERIFY(!tree().isExpanded(NodeAtDepth(tree(), kMaxExpandedDepth)));
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QCOMPARE(fixture().messages[0].icon, QMessageBox::Information);
        QVERIFY(fixture().messages[0].text.contains(QString::number(kMaxExpandedDepth)));
        // A full layout of what is expanded, as a font change makes one.
        tree().doItemsLayout();
        // Expanding the first folded node by hand is taken back.
        tree().setExpanded(NodeAtDepth(tree(), kMaxExpandedDepth), true);
        QVERIFY(!tree().isExpanded(NodeAtDepth(tree(), kMaxExpandedDepth)));
        QCOMPARE(fixture().messages.size(), std::size_t{2});
        QCoreApplication::processEvents();
        // Showing a node far below the bound expands each of its ancestors
        // in one go (as the jump to a page in the tree does): every deep
        // one is taken back, with one message, not one per level.
        for (int depth = kMaxExpandedDepth + 3; depth >= kMaxExpandedDepth; --depth) {
            tree().setExpanded(NodeAtDepth(tree(), depth), true);
        }
        for (int depth = kMaxExpandedDepth; depth <= kMaxExpandedDepth + 3; ++depth) {
            QVERIFY(!tree().isExpanded(NodeAtDepth(tree(), depth)));
        }
        QCOMPARE(fixture().messages.size(), std::size_t{3});
        QCoreApplication::processEvents();
        tree().setExpanded(NodeAtDepth(tree(), kMaxExpandedDepth), true);
        QCOMPARE(fixture().messages.size(), std::size_t{4});
        // A tree within the bound expands whole, without a message.
        draftOpen("1001:a\r\n\t1002:b\r\n\t\t1003:c\r\n\t1004:d\r\n");
        tree().setCurrentIndex(test::Thread(tree(), 0));
        QTest::keyClick(&tree(), Qt::Key_Asterisk);
        QVERIFY(tree().isExpanded(NodeAtDepth(tree(), 1)));
        QCOMPARE(fixture().messages.size(), std::size_t{4});
    }

    void selectingANodeBeyondTheBoundTakesOneLevelBack() {
        // As a jump to a page (a link, "ツリーで表示") selects its node: a
        // node 30,000 levels deep once opened and took back each level
        // above it, one message each, for minutes.
        createWindow();
        draftOpen(DeepTreeDat(kMaxExpandedDepth + 5));
        QModelIndex node = tree().model()->index(0, 0);
        for (int depth = 0; depth < kMaxExpandedDepth + 4; ++depth) {
            node = tree().model()->index(0, 0, node);
        }
        QSignalSpy takenBack(&tree(), &QTreeView::collapsed);
        SelectNode(tree(), node);
        QCOMPARE(takenBack.size(), 1);
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QCOMPARE(tree().currentIndex(), node);
        QVERIFY(!tree().isExpanded(NodeAtDepth(tree(), kMaxExpandedDepth)));
        // A node within the bound is shown with its ancestors opened.
        SelectNode(tree(), tree().model()->index(0, 0, tree().model()->index(0, 0)));
        QVERIFY(tree().isExpanded(NodeAtDepth(tree(), 0)));
        QCOMPARE(takenBack.size(), 1);
    }

    void filterMatchBeyondTheBoundTakesOneLevelBack() {
        // The thread filter opens every ancestor of a match, root first.
        WriteFile(fixture().DataFile("1001.msg"), Page("1001", "needle"));
        createWindow();
        openDataFolder();
        draftOpen(DeepTreeDat(kMaxExpandedDepth + 5) + std::string(kMaxExpandedDepth + 5, '\t') +
                  "1001:needle\r\n");
        QSignalSpy takenBack(&tree(), &QTreeView::collapsed);
        auto& filter = *window().findChild<QLineEdit*>("edtFilter");
        filter.setText("needle");
        QCOMPARE(window().findChild<QLabel*>("lblFilterCount")->text(), QString::fromUtf8("1 件"));
        QVERIFY(tree().isExpanded(NodeAtDepth(tree(), kMaxExpandedDepth - 1)));
        QCOMPARE(takenBack.size(), 1);
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        // The next letter asks for nothing more.
        QCoreApplication::processEvents();
        filter.setText("needl");
        QCOMPARE(takenBack.size(), 1);
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        // Return selects the match where it stands, folded away.
        QTest::keyClick(&filter, Qt::Key_Return);
        QCOMPARE(tree().currentIndex(), NodeAtDepth(tree(), kMaxExpandedDepth + 5));
        QCOMPARE(takenBack.size(), 1);
        // Emptied: the chosen node's ancestors open again, root first, down
        // to the bound and no deeper; the one level taken back says so once.
        filter.clear();
        QVERIFY(tree().isExpanded(NodeAtDepth(tree(), kMaxExpandedDepth - 1)));
        QVERIFY(!tree().isExpanded(NodeAtDepth(tree(), kMaxExpandedDepth)));
        QCOMPARE(fixture().messages.size(), std::size_t{2});
    }

    void longTitlesAreCutForDisplayOnly() {
        const std::string title(2'000'000, 'x');
        WriteFile(fixture().DataFile("1001.msg"), Page("1001", title));
        createWindow();
        openDataFolder();
        const QModelIndex node = test::Thread(tree(), 0);
        QCOMPARE(test::TextOf(node),
                 QString(kShownTextBytes, 'x').replace(0, 5, "1001:") + QChar(0x2026));
        QCOMPARE(NodeBytes(node).size(), qsizetype(title.size() + 5));
        QCOMPARE(ReadFile(fixture().HomeFile("Tree.dat")), "1001:" + title + "\r\n");
        QCOMPARE(NodeBytes(node).toStdString(), "1001:" + title);
    }

    void largePagesShowTheirFirstPartWithANote() {
        const std::string body(20 * kShownPageBytes, 'y');
        WriteFile(fixture().DataFile("1001.msg"), Page("1001", "big") + body);
        WriteFile(fixture().DataFile("1002.msg"), Page("1002", "small"));
        createWindow();
        const auto show = [this](const char* name) {
            window().Page().LoadUrl(QString::fromStdString("file://" + fixture().DataFile(name)));
            return html().toPlainText();
        };
        const QString big = show("1001.msg");
        QVERIFY(big.startsWith(QString::fromUtf8("このページは大きすぎるため")));
        QVERIFY(big.size() < qsizetype(kShownPageBytes + 1000));
        QVERIFY(big.contains(QString(1000, 'y')));
        QCOMPARE(html().wordWrapMode(), QTextOption::WrapAnywhere);
        const QString small = show("1002.msg");
        QVERIFY(!small.contains(QString::fromUtf8("大きすぎる")));
        QCOMPARE(html().wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
        QCOMPARE(window().Page().DocumentUrl(),
                 QString::fromStdString("file://" + fixture().DataFile("1002.msg")));
        // Markup nested too deep is shown as its source, with a note.
        std::string nested;
        for (std::size_t i = 0; i <= kDeepestLaidOutTables; ++i) {
            nested += "<table><tr><td>";
        }
        WriteFile(fixture().DataFile("1003.msg"), Page("1003", "deep") + nested);
        const QString deep = show("1003.msg");
        QVERIFY(deep.startsWith(QString::fromUtf8("このページはタグの入れ子が深すぎる")));
        QVERIFY(deep.contains("<table><tr><td><table>"));
        // A picture that names a device that never ends draws nothing.
        WriteFile(fixture().DataFile("1004.msg"), Page("1004", "pic") + "<img src=\"/dev/zero\">");
        QVERIFY(show("1004.msg").contains("pic"));
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::WindowLimitsTest)
#include "window_limits_test.moc"

// The thread filter on a tree of its own, under the offscreen platform.
#include <QLabel>
#include <QTest>

#include <filesystem>

#include "tests/search/ui/filter_scaffold.h"

namespace teluri {

using test::Sjis;
using test::WriteFile;

class ThreadFilterTest : public QObject, test::FilterScaffold {
    Q_OBJECT

  private:
    QModelIndex node(const char* number) { return test::FindNode(*tree_, number); }
    bool marked(const char* number) { return node(number).data(Qt::BackgroundRole).isValid(); }
    // The numbers of the top-level nodes shown.
    QStringList shownThreads() {
        QStringList numbers;
        for (int i = 0; i < test::ThreadCount(*tree_); ++i) {
            if (!test::IsHidden(*tree_, test::Thread(*tree_, i))) {
                numbers.append(test::TextOf(test::Thread(*tree_, i)).left(4));
            }
        }
        return numbers;
    }
    void type(const QString& text) { QTest::keyClicks(filter_, text); }

    // Threads: 1001 (1002 (1003), 1004), 1005, 1006 (1007); 1007 has no page.
    void fillTree() {
        const NodeId first = addNode(std::nullopt, "1001");
        addNode(addNode(first, "1002"), "1003");
        addNode(first, "1004");
        addNode(std::nullopt, "1005");
        addNode(addNode(std::nullopt, "1006"), "1007");
        showTree();
    }

  private slots:
    void init() {
        makeFilter();
        WriteFile(fixture_->DataFile("1001.msg"), "<p>About forms</p>");
        WriteFile(fixture_->DataFile("1002.msg"), "<p>Re: forms</p>");
        WriteFile(fixture_->DataFile("1003.msg"), Sjis("<p>Delphi のフォーム</p>"));
        WriteFile(fixture_->DataFile("1004.msg"), "<p>nothing</p>");
        WriteFile(fixture_->DataFile("1005.msg"), "<p>DELPHI 3</p>");
        WriteFile(fixture_->DataFile("1006.msg"), "<p>Kylix</p>");
        fillTree();
        QVERIFY(showWindow());
        gauge_->steps = 0;
        gauge_->resets = 0;
    }

    void cleanup() { destroyFilter(); }

    void showsOnlyTheThreadsWithAMatchingPage() {
        QCOMPARE(filter_->placeholderText(), QString::fromUtf8("絞り込み"));
        type("delphi");
        QCOMPARE(shownThreads(), QStringList({"1001", "1005"}));
        QVERIFY(marked("1003"));
        QVERIFY(marked("1005"));
        QVERIFY(!marked("1001"));
        QVERIFY(!marked("1002"));
        QVERIFY(tree_->isExpanded(node("1001")));
        QVERIFY(tree_->isExpanded(node("1002")));
        QCOMPARE(filter_->CountText(), QString::fromUtf8("2 件"));
        // Japanese text as typed; a page without a file matches nothing.
        filter_->setText(QString::fromUtf8("フォーム"));
        QCOMPARE(shownThreads(), QStringList({"1001"}));
        filter_->setText("title");  // node texts are not page texts
        QCOMPARE(shownThreads(), QStringList());
        QCOMPARE(filter_->CountText(), QString::fromUtf8("0 件"));
    }

    void narrowingAndWideningGiveTheSameAnswerAsAFreshText() {
        type("form");
        QCOMPARE(shownThreads(), QStringList({"1001"}));
        QVERIFY(marked("1001") && marked("1002") && !marked("1003"));
        type("s");  // "forms": narrows
        QVERIFY(marked("1001") && marked("1002"));
        QTest::keyClick(filter_, Qt::Key_Backspace);
        QTest::keyClick(filter_, Qt::Key_Backspace);
        QTest::keyClick(filter_, Qt::Key_Backspace);
        QTest::keyClick(filter_, Qt::Key_Backspace);  // "f": widens again
        QCOMPARE(shownThreads(), QStringList({"1001"}));
        filter_->setText("i");  // not a narrowing of "f"
        QCOMPARE(shownThreads(), QStringList({"1001", "1005", "1006"}));
        QCOMPARE(filter_->CountText(), QString::fromUtf8("4 件"));
    }

    void escapeRestoresTheTreeAsItWas() {
        tree_->setExpanded(node("1006"), true);
        tree_->setExpanded(node("1002"), true);  // open below a closed thread
        filter_->setFocus();
        type("delphi");
        QVERIFY(tree_->isExpanded(node("1001")));
        QTest::keyClick(filter_, Qt::Key_Escape);
        QCOMPARE(filter_->text(), QString());
        QCOMPARE(shownThreads(), QStringList({"1001", "1005", "1006"}));
        QVERIFY(!tree_->isExpanded(node("1001")));
        QVERIFY(tree_->isExpanded(node("1002")));
        QVERIFY(tree_->isExpanded(node("1006")));
        for (const char* number : {"1001", "1002", "1003", "1005"}) {
            QVERIFY(!marked(number));
        }
        QCOMPARE(filter_->CountText(), QString());
    }

    void pagesAreReadOnceWithTheGaugeStepping() {
        const auto files = [](const std::string& folder) {
            return std::distance(std::filesystem::directory_iterator(folder), {});
        };
        const auto homeFiles = files(fixture_->Home());
        type("d");
        QCOMPARE(gauge_->steps, 1);  // one step per 16 pages read, the missing one too
        QCOMPARE(gauge_->resets, 1);
        filter_->clear();
        type("k");
        QCOMPARE(gauge_->steps, 1);  // the second use reads nothing
        QCOMPARE(gauge_->resets, 1);
        QCOMPARE(shownThreads(), QStringList({"1006"}));
        // Nothing was written anywhere.
        QCOMPARE(files(fixture_->Data()), 6);
        QCOMPARE(files(fixture_->Home()), homeFiles);
    }

    void takingTheFocusReadsThePagesBeforeTheFirstLetter() {
        filter_->setFocus();
        QVERIFY(filter_->HeldBytes() > 0);
        // The page changes after the field took the focus, before any letter.
        WriteFile(fixture_->DataFile("1006.msg"), "<p>Delphi now</p>");
        type("delphi");
        QCOMPARE(shownThreads(), QStringList({"1001", "1005"}));
        QCOMPARE(gauge_->steps, 0);  // the first letter waited for nothing
        // The field taking the focus again reads nothing.
        filter_->clear();
        tree_->setFocus();
        filter_->setFocus();
        type("delphi");
        QCOMPARE(shownThreads(), QStringList({"1001", "1005"}));
    }

    void aTreeFilledAnewWhileThePagesAreReadStartsOver() {
        filter_->setFocus();
        tree_->setFocus();
        WriteFile(fixture_->DataFile("1006.msg"), "<p>Delphi now</p>");
        clearTree();  // the reading ahead is stopped
        fillTree();
        type("delphi");
        QCOMPARE(shownThreads(), QStringList({"1001", "1005", "1006"}));
    }

    void aTreeFilledAnewStartsOver() {
        type("delphi");
        // The pages change and the tree is filled anew, as by an analysis run.
        WriteFile(fixture_->DataFile("1006.msg"), "<p>Delphi now</p>");
        clearTree();
        QCOMPARE(filter_->text(), QString());
        QCOMPARE(filter_->CountText(), QString());
        fillTree();
        gauge_->steps = 0;
        type("delphi");
        QCOMPARE(gauge_->steps, 1);  // read anew
        QCOMPARE(shownThreads(), QStringList({"1001", "1005", "1006"}));
    }

    void enterGoesToTheFirstMatchingNodeAndKeepsTheField() {
        filter_->setFocus();
        type("delphi");
        QTest::keyClick(filter_, Qt::Key_Return);
        QCOMPARE(tree_->currentIndex(), node("1003"));
        QVERIFY(filter_->hasFocus());  // Enter again goes on
    }

    void aNodeChosenWhileFilteringStaysInViewAfterwards() {
        // Not moved while filtering: the expansion comes back as it was,
        // even over the current node.
        tree_->setCurrentIndex(node("1003"));
        tree_->collapseAll();
        filter_->setFocus();
        type("delphi");
        QTest::keyClick(filter_, Qt::Key_Escape);
        QVERIFY(!tree_->isExpanded(node("1001")));
        QVERIFY(!tree_->isExpanded(node("1002")));
        // Moved to a match: its ancestors stay open, the rest as it was.
        tree_->setCurrentIndex(node("1005"));
        filter_->setFocus();
        type("delphi");
        QTest::keyClick(filter_, Qt::Key_Return);
        QCOMPARE(tree_->currentIndex(), node("1003"));
        filter_->clear();
        QVERIFY(tree_->isExpanded(node("1001")));
        QVERIFY(tree_->isExpanded(node("1002")));
        QVERIFY(!tree_->isExpanded(node("1006")));
        QTest::keyClick(tree_, Qt::Key_Down);
        QCOMPARE(tree_->currentIndex(), node("1004"));
    }

    void theTreesKeysStartAtTheFirstShownNodeWhenTheCurrentOneIsFilteredOut() {
        tree_->setCurrentIndex(node("1006"));
        filter_->setFocus();
        type("delphi");  // 1006's thread is hidden
        tree_->setFocus();
        QTest::keyClick(tree_, Qt::Key_Down);
        QCOMPARE(tree_->currentIndex(), node("1001"));
        QTest::keyClick(tree_, Qt::Key_Down);
        QCOMPARE(tree_->currentIndex(), node("1002"));
        // A shown current node moves as usual.
        QTest::keyClick(tree_, Qt::Key_Up);
        QCOMPARE(tree_->currentIndex(), node("1001"));
        // Filtered out again, Up also starts at the first shown node.
        filter_->setText("kylix");
        QTest::keyClick(tree_, Qt::Key_Up);
        QCOMPARE(tree_->currentIndex(), node("1006"));
        // The whole tree again: the keys are the tree's own.
        filter_->clear();
        QTest::keyClick(tree_, Qt::Key_Up);
        QCOMPARE(tree_->currentIndex(), node("1005"));
    }

    void aDeepChainIsFilteredWithoutRecursion() {
        clearTree();
        NodeId item = addNode(std::nullopt, "1001");
        for (int depth = 1; depth < 5000; ++depth) {
            item = addNode(item, "1004");
        }
        addNode(item, "1005");
        showTree();
        type("delphi");
        QCOMPARE(shownThreads(), QStringList({"1001"}));
        QVERIFY(marked("1005"));
        QVERIFY(tree_->isExpanded(test::Thread(*tree_, 0)));
        filter_->clear();
        QVERIFY(!tree_->isExpanded(test::Thread(*tree_, 0)));
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::ThreadFilterTest)
#include "thread_filter_test.moc"

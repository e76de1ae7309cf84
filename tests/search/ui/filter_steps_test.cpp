// The thread filter's steps through its matches, on a tree of its own,
// under the offscreen platform.
#include <QKeyEvent>
#include <QTest>

#include "tests/search/ui/filter_scaffold.h"

namespace teluri {

class FilterStepsTest : public QObject, test::FilterScaffold {
    Q_OBJECT

  private:
    QString current() { return test::CurrentNumber(*tree_); }
    void press(Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(filter_, Qt::Key_Return, modifiers);
    }

  private slots:
    void init() {
        makeFilter();
        // Threads 1000 .. 1199, one node each but 1100, which has a reply
        // 1300. "needle" is in 1100's reply, 1150 and 1190.
        for (int number = 1000; number < 1200; ++number) {
            const NodeId thread = addNode(std::nullopt, std::to_string(number),
                                          number == 1150 || number == 1190 ? "a needle" : "hay");
            if (number == 1100) {
                addNode(thread, "1300", "<p>needle</p>");
            }
        }
        showTree();
        window_->resize(300, 300);
        QVERIFY(showWindow());
        filter_->setFocus();
    }

    void cleanup() { destroyFilter(); }

    void enterAndShiftEnterGoRoundTheMatchesInTreeOrder() {
        tree_->setCurrentIndex(test::Thread(*tree_, 120));  // 1120: past the first match
        QTest::keyClicks(filter_, "needle");
        press();
        QCOMPARE(current(), QString("1150"));
        press();
        QCOMPARE(current(), QString("1190"));
        press();  // round the end
        QCOMPARE(current(), QString("1300"));
        QVERIFY(tree_->isExpanded(test::Thread(*tree_, 100)));
        press(Qt::ShiftModifier);  // and back round the start
        QCOMPARE(current(), QString("1190"));
        press(Qt::ShiftModifier);
        press(Qt::ShiftModifier);
        QCOMPARE(current(), QString("1300"));
        QVERIFY(filter_->hasFocus());
        // Each step is scrolled into view.
        QVERIFY(tree_->viewport()->rect().intersects(tree_->visualRect(tree_->currentIndex())));
    }

    void theFirstMatchIsScrolledIntoViewAfterEachKeystroke() {
        tree_->scrollToTop();
        const QModelIndex before = tree_->currentIndex();
        QTest::keyClicks(filter_, "needl");
        // Only the three threads with a match are shown; the first at the top.
        const QModelIndex first = test::Thread(*tree_, 100);
        QVERIFY(!test::IsHidden(*tree_, first));
        QCOMPARE(tree_->visualRect(first).top(), 0);
        QCOMPARE(tree_->currentIndex(), before);  // nothing chosen yet
        QTest::keyClicks(filter_, "e a");         // "needle a": 1150 and 1190 only
        QVERIFY(test::IsHidden(*tree_, first));
        QCOMPARE(tree_->visualRect(test::Thread(*tree_, 150)).top(), 0);
    }

    void escInTheTreeClearsTheFilter() {
        QTest::keyClicks(filter_, "needle");
        press();
        tree_->setFocus();
        QTest::keyClick(tree_, Qt::Key_Escape);
        QCOMPARE(filter_->text(), QString());
        for (int i = 0; i < test::ThreadCount(*tree_); ++i) {
            QVERIFY(!test::IsHidden(*tree_, test::Thread(*tree_, i)));
        }
        QCOMPARE(current(), QString("1300"));  // the node reached stays current
        // Without a filter Esc in the tree changes nothing.
        QTest::keyClick(tree_, Qt::Key_Escape);
        QCOMPARE(current(), QString("1300"));
    }

    void stepsFollowThreadsPutInAnotherOrder() {
        QTest::keyClicks(filter_, "needle");
        // The threads reversed while filtering, as the newest-first view does.
        tree_->Model().SetThreadsReversed(true);
        tree_->setCurrentIndex({});
        press();
        QCOMPARE(current(), QString("1190"));
        press();
        QCOMPARE(current(), QString("1150"));
        press();
        QCOMPARE(current(), QString("1300"));
        filter_->clear();
        QVERIFY(!test::IsHidden(*tree_, test::Thread(*tree_, 0)));
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::FilterStepsTest)
#include "filter_steps_test.moc"

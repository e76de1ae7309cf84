// The thread filter's steps through its matches, on a tree of its own,
// under the offscreen platform.
#include <QKeyEvent>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>

#include "tests/search/ui/filter_scaffold.h"

namespace teluri {

class FilterStepsTest : public QObject, test::FilterScaffold {
    Q_OBJECT

  private:
    QString current() { return tree_->currentItem()->text(0).left(4); }
    void press(Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(filter_, Qt::Key_Return, modifiers);
    }

  private slots:
    void init() {
        makeFilter();
        // Threads 1000 .. 1199, one node each but 1100, which has a reply
        // 1300. "needle" is in 1100's reply, 1150 and 1190.
        for (int number = 1000; number < 1200; ++number) {
            QTreeWidgetItem* thread =
                addNode(nullptr, std::to_string(number),
                        number == 1150 || number == 1190 ? "a needle" : "hay");
            if (number == 1100) {
                addNode(thread, "1300", "<p>needle</p>");
            }
        }
        window_->resize(300, 300);
        QVERIFY(showWindow());
        filter_->setFocus();
    }

    void cleanup() { destroyFilter(); }

    void enterAndShiftEnterGoRoundTheMatchesInTreeOrder() {
        tree_->setCurrentItem(tree_->topLevelItem(120));  // 1120: past the first match
        QTest::keyClicks(filter_, "needle");
        press();
        QCOMPARE(current(), QString("1150"));
        press();
        QCOMPARE(current(), QString("1190"));
        press();  // round the end
        QCOMPARE(current(), QString("1300"));
        QVERIFY(tree_->topLevelItem(100)->isExpanded());
        press(Qt::ShiftModifier);  // and back round the start
        QCOMPARE(current(), QString("1190"));
        press(Qt::ShiftModifier);
        press(Qt::ShiftModifier);
        QCOMPARE(current(), QString("1300"));
        QVERIFY(filter_->hasFocus());
        // Each step is scrolled into view.
        QVERIFY(tree_->viewport()->rect().intersects(tree_->visualItemRect(tree_->currentItem())));
    }

    void theFirstMatchIsScrolledIntoViewAfterEachKeystroke() {
        tree_->scrollToTop();
        const QTreeWidgetItem* before = tree_->currentItem();
        QTest::keyClicks(filter_, "needl");
        // Only the three threads with a match are shown; the first at the top.
        QTreeWidgetItem* first = tree_->topLevelItem(100);
        QVERIFY(!first->isHidden());
        QCOMPARE(tree_->visualItemRect(first).top(), 0);
        QCOMPARE(tree_->currentItem(), before);  // nothing chosen yet
        QTest::keyClicks(filter_, "e a");        // "needle a": 1150 and 1190 only
        QVERIFY(first->isHidden());
        QCOMPARE(tree_->visualItemRect(tree_->topLevelItem(150)).top(), 0);
    }

    void escInTheTreeClearsTheFilter() {
        QTest::keyClicks(filter_, "needle");
        press();
        tree_->setFocus();
        QTest::keyClick(tree_, Qt::Key_Escape);
        QCOMPARE(filter_->text(), QString());
        for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
            QVERIFY(!tree_->topLevelItem(i)->isHidden());
        }
        QCOMPARE(current(), QString("1300"));  // the node reached stays current
        // Without a filter Esc in the tree changes nothing.
        QTest::keyClick(tree_, Qt::Key_Escape);
        QCOMPARE(current(), QString("1300"));
    }

    void stepsFollowThreadsPutInAnotherOrder() {
        QTest::keyClicks(filter_, "needle");
        // The threads reversed while filtering, as the newest-first view does.
        QList<QTreeWidgetItem*> threads = tree_->invisibleRootItem()->takeChildren();
        std::reverse(threads.begin(), threads.end());
        tree_->addTopLevelItems(threads);
        tree_->setCurrentItem(nullptr);
        press();
        QCOMPARE(current(), QString("1190"));
        press();
        QCOMPARE(current(), QString("1150"));
        press();
        QCOMPARE(current(), QString("1300"));
        filter_->clear();
        QVERIFY(!tree_->topLevelItem(0)->isHidden());
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::FilterStepsTest)
#include "filter_steps_test.moc"

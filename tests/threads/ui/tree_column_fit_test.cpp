// The thread tree's column fits the rows in view: a long title further down
// widens it once scrolled into view, and the rows in view alone are measured.
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

#include "threads/ui/tree_column_fit.h"

namespace teluri {

class TreeColumnFitTest : public QObject {
    Q_OBJECT

  private slots:
    void widensForTheRowsInViewWhenScrolledOrShownTaller() {
        QTreeWidget tree;
        tree.setHeaderHidden(true);
        tree.setUniformRowHeights(true);
        FitColumnToRowsInView(tree);
        const QString longTitle(300, QChar('W'));
        for (int i = 0; i < 2000; ++i) {
            tree.addTopLevelItem(
                new QTreeWidgetItem(QStringList(i == 1500 ? longTitle : QString("Re: %1").arg(i))));
        }
        tree.resize(300, 300);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        const int shortWidth = tree.fontMetrics().horizontalAdvance(longTitle) / 10;
        QTRY_VERIFY(tree.columnWidth(0) > 0);
        QVERIFY(tree.columnWidth(0) < shortWidth);  // the long row is not measured yet

        tree.scrollToItem(tree.topLevelItem(1500));
        QTRY_VERIFY(tree.columnWidth(0) >= tree.fontMetrics().horizontalAdvance(longTitle));
        QTRY_VERIFY(tree.horizontalScrollBar()->maximum() > 0);

        // Back at the top, the column fits the short rows again.
        tree.scrollToTop();
        QTRY_VERIFY(tree.columnWidth(0) < shortWidth);

        // A taller view shows the long row without scrolling.
        const int rowsInView =
            tree.viewport()->height() / tree.visualItemRect(tree.topLevelItem(0)).height();
        tree.verticalScrollBar()->setValue(1500 - rowsInView - 5);
        QTRY_VERIFY(tree.columnWidth(0) < shortWidth);
        tree.resize(300, 3000);
        QTRY_VERIFY(tree.columnWidth(0) >= tree.fontMetrics().horizontalAdvance(longTitle));
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::TreeColumnFitTest)
#include "tree_column_fit_test.moc"

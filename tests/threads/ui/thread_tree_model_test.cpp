// The thread tree's model: its indexes against Qt's model checker, what a
// node shows, and the threads' order with what a view keeps of each node.
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include "base/ui/bytes_role.h"
#include "tests/support/pages.h"
#include "threads/ui/thread_tree_model.h"

namespace teluri {

namespace {

QPixmap Filled(Qt::GlobalColor color) {
    QPixmap picture(16, 16);
    picture.fill(color);
    return picture;
}

// 1001 (1002 (1003), 1004), 1005, 1006 (1007): pictures 0, 1, 2, none.
ThreadTree SampleTree() {
    ThreadTree tree;
    const auto first = tree.AppendRoot("1001:" + test::Sjis("フォーム"));
    tree.SetPicture(first, kPictureDelphi);
    const auto reply = tree.AppendChild(first, "1002:Re");
    tree.SetPicture(reply, kPictureBuilder);
    tree.AppendChild(reply, "1003:Re: Re");
    tree.SetPicture(tree.AppendChild(first, "1004:Re"), kPictureMissingPage);
    tree.AppendRoot("1005:alone");
    tree.AppendChild(tree.AppendRoot("1006:last"), "1007:Re");
    return tree;
}

QStringList Threads(const QAbstractItemModel& model) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row) {
        texts.append(model.index(row, 0).data().toString().left(4));
    }
    return texts;
}

}  // namespace

class ThreadTreeModelTest : public QObject {
    Q_OBJECT

  private:
    std::array<QIcon, 3> pictures_ = {QIcon(Filled(Qt::red)), QIcon(Filled(Qt::green)),
                                      QIcon(Filled(Qt::blue))};

  private slots:
    void indexesHoldUpThroughFillingReversingAndMarking() {
        ThreadTreeModel model(pictures_, nullptr);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.Fill(SampleTree());
        QCOMPARE(Threads(model), QStringList({"1001", "1005", "1006"}));
        model.SetThreadsReversed(true);
        QCOMPARE(Threads(model), QStringList({"1006", "1005", "1001"}));
        model.SetMarked(3, true);
        model.Fill(SampleTree());  // a tree filled anew keeps the order
        QCOMPARE(Threads(model), QStringList({"1006", "1005", "1001"}));
        model.SetThreadsReversed(false);
        model.Fill(ThreadTree());
        QCOMPARE(model.rowCount(), 0);
    }

    void nodesAndIndexesNameEachOtherInEitherOrder() {
        ThreadTreeModel model(pictures_, nullptr);
        model.Fill(SampleTree());
        for (const bool reversed : {false, true}) {
            model.SetThreadsReversed(reversed);
            for (std::size_t node = 0; node < model.Tree().Count(); ++node) {
                const QModelIndex index = model.IndexOf(node);
                QCOMPARE(ThreadTreeModel::NodeOf(index), node);
                QCOMPARE(model.index(index.row(), 0, index.parent()), index);
            }
        }
        const QModelIndex reply = model.index(0, 0, model.index(2, 0));
        QCOMPARE(reply.data().toString(), QString("1002:Re"));
        QCOMPARE(model.parent(model.index(0, 0, reply)), reply);
        QVERIFY(!model.index(3, 0).isValid());
        QVERIFY(!model.index(0, 1).isValid());
    }

    void aNodeShowsItsTextPictureAndMark() {
        ThreadTreeModel model(pictures_, nullptr);
        model.Fill(SampleTree());
        const QModelIndex first = model.index(0, 0);
        QCOMPARE(first.data().toString(), QString::fromUtf8("1001:フォーム"));
        QCOMPARE(first.data(kBytesRole).toByteArray(),
                 QByteArray::fromStdString("1001:" + test::Sjis("フォーム")));
        QCOMPARE(NodeNumber(first), std::string("1001"));
        const auto pictureOf = [](const QModelIndex& node) {
            return node.data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage().pixel(8, 8);
        };
        QCOMPARE(pictureOf(first), QColor(Qt::red).rgb());
        QCOMPARE(pictureOf(model.index(0, 0, first)), QColor(Qt::green).rgb());
        QCOMPARE(pictureOf(model.index(1, 0, first)), QColor(Qt::blue).rgb());
        QVERIFY(model.index(1, 0).data(Qt::DecorationRole).isNull());  // none

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.SetMarked(4, true);  // 1005
        model.SetMarked(4, true);  // no change, no signal
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.front().front().value<QModelIndex>(), model.index(1, 0));
        QVERIFY(model.index(1, 0).data(Qt::BackgroundRole).isValid());
        model.SetMarked(4, false);
        QVERIFY(!model.index(1, 0).data(Qt::BackgroundRole).isValid());
    }

    void aViewKeepsItsNodesStateWhenTheThreadsAreReversed() {
        QTreeView view;
        ThreadTreeModel model(pictures_, &view);
        view.setModel(&model);
        model.Fill(SampleTree());
        const QModelIndex first = model.index(0, 0);
        const QModelIndex reply = model.index(0, 0, first);
        view.setExpanded(first, true);
        view.setExpanded(reply, true);
        view.setRowHidden(1, {}, true);  // 1005
        view.setCurrentIndex(reply);
        model.SetThreadsReversed(true);
        const QModelIndex movedFirst = model.index(2, 0);
        QCOMPARE(NodeNumber(movedFirst), std::string("1001"));
        QVERIFY(view.isExpanded(movedFirst));
        QVERIFY(view.isExpanded(model.index(0, 0, movedFirst)));
        QVERIFY(!view.isExpanded(model.index(0, 0)));  // 1006
        QVERIFY(view.isRowHidden(1, {}));
        QCOMPARE(view.currentIndex(), model.index(0, 0, movedFirst));
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::ThreadTreeModelTest)
#include "thread_tree_model_test.moc"

// Tree.dat written on a thread of its own: waited for before it is read
// again and when the window goes away, and a failure reported once, after
// the write has ended.
#include <QTest>
#include <QWidget>

#include <memory>
#include <string>

#include "tests/support/pages.h"
#include "tests/ui/ui_support.h"
#include "threads/thread_tree.h"
#include "threads/tree_file.h"
#include "threads/ui/tree_file_save.h"

namespace teluri {

namespace {

// Long enough that writing it takes a while: 100,000 nodes, 6 MB.
std::shared_ptr<const ThreadTree> LargeTree() {
    auto tree = std::make_shared<ThreadTree>();
    for (int thread = 0; thread < 20'000; ++thread) {
        const auto root =
            tree->AppendRoot(std::to_string(1000 + thread % 9000) + ":" + std::string(40, 'x'));
        for (int reply = 0; reply < 4; ++reply) {
            tree->AppendChild(root, "1000:Re: " + std::string(40, 'y'));
        }
    }
    return tree;
}

}  // namespace

class TreeFileSaveTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { fixture_ = std::make_unique<test::UiFixture>(); }
    void cleanup() { fixture_.reset(); }

    void waitReturnsOnceTheFileIsWhole() {
        QWidget window;
        TreeFileSave save(window);
        const auto tree = LargeTree();
        const std::string path = fixture_->HomeFile("Tree.dat");
        save.Start(tree, path);
        QVERIFY(save.Writing());
        save.Wait();
        QVERIFY(!save.Writing());
        QCOMPARE(test::ReadFile(path), FormatTreeDat(tree->PreOrder()));
        QVERIFY(fixture_->messages.empty());
        // The end the write posted finds it taken.
        QVERIFY(test::WaitForPostedCalls());
        QVERIFY(fixture_->messages.empty());
    }

    void aNewWriteWaitsForTheOneUnderWay() {
        QWidget window;
        TreeFileSave save(window);
        const std::string path = fixture_->HomeFile("Tree.dat");
        save.Start(LargeTree(), path);
        ThreadTree small;
        small.AppendRoot("1001:last");
        save.Start(std::make_shared<const ThreadTree>(std::move(small)), path);
        save.Wait();
        QCOMPARE(test::ReadFile(path), std::string("1001:last\r\n"));
    }

    void destroyingTheSaveWaitsForItsWrite() {
        const auto tree = LargeTree();
        const std::string path = fixture_->HomeFile("Tree.dat");
        {
            QWidget window;
            auto* save = new TreeFileSave(window);
            save->Start(tree, path);
        }
        QCOMPARE(test::ReadFile(path), FormatTreeDat(tree->PreOrder()));
    }

    void aFailureIsReportedOnceAfterTheWriteEnded() {
        QWidget window;
        TreeFileSave save(window);
        const std::string path = fixture_->HomeFile("missing/Tree.dat");
        save.Start(LargeTree(), path);
        QTRY_VERIFY(!save.Writing());
        QCOMPARE(fixture_->messages.size(), std::size_t{1});
        QVERIFY(fixture_->messages[0].text.contains(QString::fromStdString(path)));
        save.Wait();
        QVERIFY(test::WaitForPostedCalls());
        QCOMPARE(fixture_->messages.size(), std::size_t{1});
    }

  private:
    std::unique_ptr<test::UiFixture> fixture_;
};

}  // namespace teluri

QTEST_MAIN(teluri::TreeFileSaveTest)
#include "tree_file_save_test.moc"

// Writes Tree.dat on a thread of its own, so that the window shows and
// counts a new tree while the file is written and flushed to disk. One
// write at a time: a new write, and a read of the file (Wait), wait for the
// one under way. A write that failed is reported in the window's error box
// once it has ended (or by the call that waited for it).
#pragma once

#include <QObject>

#include <future>
#include <memory>
#include <string>

class QWidget;

namespace teluri {

class ThreadTree;

class TreeFileSave : public QObject {
    Q_OBJECT

  public:
    explicit TreeFileSave(QWidget& window);
    // Waits for the write under way; a failure then goes unreported, as the
    // window is going away.
    ~TreeFileSave() override;

    // Starts writing `tree` to `path`, replacing the file atomically.
    void Start(std::shared_ptr<const ThreadTree> tree, std::string path);
    // Returns once no write is under way.
    void Wait();
    // A write has started and its end has not been handled yet.
    bool Writing() const { return writing_.valid(); }

  private:
    // Takes the end of the write under way, waiting for it, and reports
    // its failure.
    void TakeEnd();

    QWidget& window_;
    std::future<void> writing_;
};

}  // namespace teluri

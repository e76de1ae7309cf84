#include "threads/ui/tree_file_save.h"

#include <QWidget>

#include <utility>

#include "base/ui/guard.h"
#include "threads/tree_file.h"

namespace teluri {

TreeFileSave::TreeFileSave(QWidget& window) : QObject(&window), window_(window) {}

TreeFileSave::~TreeFileSave() {
    if (writing_.valid()) {
        writing_.wait();
    }
}

void TreeFileSave::Start(std::shared_ptr<const ThreadTree> tree, std::string path) {
    TakeEnd();
    writing_ =
        std::async(std::launch::async, [this, tree = std::move(tree), path = std::move(path)] {
            // The window learns of the end, failed or not, on its own thread.
            struct TellEnd {
                TreeFileSave* save;
                ~TellEnd() {
                    QMetaObject::invokeMethod(
                        save, [save = save] { save->TakeEnd(); }, Qt::QueuedConnection);
                }
            } tellEnd{this};
            WriteTreeDat(path, tree->PreOrder());
        });
}

void TreeFileSave::Wait() {
    TakeEnd();
}

void TreeFileSave::TakeEnd() {
    if (!writing_.valid()) {
        return;  // taken already
    }
    std::future<void> writing = std::move(writing_);
    Guarded(&window_, [&writing] { writing.get(); });
}

}  // namespace teluri

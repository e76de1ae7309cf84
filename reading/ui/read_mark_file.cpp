#include "reading/ui/read_mark_file.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include "base/errors.h"
#include "base/paths.h"
#include "base/ui/guard.h"
#include "reading/link_target.h"

namespace teluri {

ReadMarkFile::ReadMarkFile(QWidget& window)
    : QObject(&window), window_(window), path_(ReadMarksFilePath()), timer_(new QTimer(this)) {
    try {
        marks_ = LoadReadMarks(path_);
    } catch (const IoError&) {
        writable_ = false;
    }
    window_.installEventFilter(this);
    timer_->setSingleShot(true);
    timer_->setInterval(kSaveDelay);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (failureShown_) {
            try {
                Save();
            } catch (const IoError&) {
            }
            return;
        }
        failureShown_ = !Guarded(&window_, [this] { Save(); });
    });
}

ReadMarkFile::~ReadMarkFile() {
    try {
        Save();
    } catch (const std::exception&) {
    }
}

bool ReadMarkFile::MarkRead(const std::string& folder, int number) {
    const bool changed = marks_.MarkRead(folder, number);
    if (changed) {
        Changed();
    }
    return changed;
}

bool ReadMarkFile::SetByCommand(const std::string& folder, const std::vector<int>& numbers,
                                bool read) {
    ReadMarkChange change = SetReadState(marks_, folder, numbers, read);
    const bool changed = !change.numbers.empty();
    undo_.Record(std::move(change));
    if (changed) {
        Changed();
    }
    return changed;
}

bool ReadMarkFile::UndoCommand() {
    if (!undo_.Undo(marks_)) {
        return false;
    }
    Changed();
    return true;
}

bool ReadMarkFile::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Close) {
        Guarded(&window_, [this] { Save(); });
    }
    return QObject::eventFilter(watched, event);
}

void ReadMarkFile::Changed() {
    changed_ = true;
    if (!timer_->isActive()) {
        timer_->start();
    }
}

void ReadMarkFile::Save() {
    timer_->stop();
    if (!changed_ || !writable_) {
        return;
    }
    SaveReadMarks(path_, marks_);
    changed_ = false;
}

std::string ReadMarksKey(const std::string& dataFolder) {
    return FolderOfPath(LocalPathOfUrl(PageUrl(PageFile(dataFolder, "0000"))));
}

}  // namespace teluri

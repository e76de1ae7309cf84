// The read marks of the running program and their file Read.dat: loaded at
// start, saved a few seconds after the first change and when the window
// closes, so that reading page after page does not write the file for each
// one. A Read.dat that cannot be read is never written over: its marks
// would be lost.
#pragma once

#include <QObject>

#include <string>
#include <vector>

#include "reading/read_mark_undo.h"
#include "reading/read_marks.h"

class QTimer;
class QWidget;

namespace teluri {

class ReadMarkFile : public QObject {
  public:
    static constexpr int kSaveDelay = 3000;  // milliseconds

    // Errors of the timed saves are shown over `window`, once.
    explicit ReadMarkFile(QWidget& window);
    // Saves what is not saved yet; errors are dropped, as nobody is left
    // to see them.
    ~ReadMarkFile() override;

    const ReadMarks& Marks() const { return marks_; }
    bool MarkRead(const std::string& folder, int number);
    // A read-mark command of the reader's (M, R, all read): gives the
    // pages the state `read` and keeps the change for UndoCommand. True
    // when a mark changed.
    bool SetByCommand(const std::string& folder, const std::vector<int>& numbers, bool read);
    // Takes back the latest command; false when none is left.
    bool UndoCommand();

    // Writes the file now when something changed; throws IoError.
    void Save();

  protected:
    // Saves when the window closes: the program may end without unwinding
    // (an exit from within the toolkit), when no destructor runs.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Changed();

    QWidget& window_;
    std::string path_;
    ReadMarks marks_;
    ReadMarkUndo undo_;
    bool changed_ = false;
    bool writable_ = true;
    bool failureShown_ = false;
    QTimer* timer_;
};

// The key of a data folder's read marks: the folder as the pages shown from
// it name it. `dataFolder` ends with the delimiter.
std::string ReadMarksKey(const std::string& dataFolder);

}  // namespace teluri

#include "reading/read_mark_undo.h"

namespace teluri {

ReadMarkChange SetReadState(ReadMarks& marks, const std::string& folder,
                            const std::vector<int>& numbers, bool read) {
    ReadMarkChange change{folder, {}, read};
    for (const int number : numbers) {
        if (read ? marks.MarkRead(folder, number) : marks.MarkUnread(folder, number)) {
            change.numbers.push_back(number);
        }
    }
    return change;
}

void ReadMarkUndo::Record(ReadMarkChange change) {
    if (change.numbers.empty()) {
        return;
    }
    steps_.push_back(std::move(change));
    if (steps_.size() > kMaxSteps) {
        steps_.pop_front();
    }
}

std::optional<ReadMarkChange> ReadMarkUndo::Undo(ReadMarks& marks) {
    if (steps_.empty()) {
        return std::nullopt;
    }
    const ReadMarkChange step = std::move(steps_.back());
    steps_.pop_back();
    return SetReadState(marks, step.folder, step.numbers, !step.read);
}

}  // namespace teluri

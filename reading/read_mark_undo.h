// Read-mark commands that the reader can take back. Giving pages a state
// records which of them changed; undoing the command gives exactly those
// pages their former state again, so that marks made in between by reading
// stay. The last kMaxSteps commands can be undone, the latest first.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "reading/read_marks.h"

namespace teluri {

struct ReadMarkChange {
    std::string folder;
    // The pages whose mark changed, and the state they were given.
    std::vector<int> numbers;
    bool read = true;
};

// Marks the pages `numbers` of `folder` read or unread; the change names
// the pages that were not in that state before.
ReadMarkChange SetReadState(ReadMarks& marks, const std::string& folder,
                            const std::vector<int>& numbers, bool read);

class ReadMarkUndo {
  public:
    static constexpr std::size_t kMaxSteps = 50;

    // A command's change; one that changed nothing is not kept, so that
    // undo takes back a command that did something.
    void Record(ReadMarkChange change);
    bool CanUndo() const { return !steps_.empty(); }
    // Takes back the latest command kept and gives the change that undid
    // it; nothing when no command is left.
    std::optional<ReadMarkChange> Undo(ReadMarks& marks);

  private:
    std::deque<ReadMarkChange> steps_;
};

}  // namespace teluri

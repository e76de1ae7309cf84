// The thread tree as a list in tree order (each node before its replies),
// for telling the reader where they are: a node's place in its thread and
// how many pages of the thread and of the whole tree are still unread.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace teluri {

struct OutlineNode {
    int depth = 0;  // 0 for a thread's first page
    // The page number the node names; -1 for a node that names none.
    int number = -1;
    // Whether the data folder holds the page's file.
    bool hasPage = true;
};

struct ThreadPlace {
    int firstNumber = -1;  // the thread's first page
    int position = 0;      // the node's place in the thread, from 1
    int count = 0;         // the thread's nodes
    int depth = 0;
    int unread = 0;  // unread pages of the thread, each page once
};

struct TreeCounts {
    int pages = 0;    // pages with a file, each once
    int threads = 0;  // nodes at depth 0
    int unread = 0;   // pages with a file not read yet, each once
};

using IsReadFunction = std::function<bool(int number)>;

class ThreadOutline {
  public:
    ThreadOutline() = default;
    explicit ThreadOutline(std::vector<OutlineNode> nodes) : nodes_(std::move(nodes)) {}

    std::size_t Size() const { return nodes_.size(); }
    const OutlineNode& Node(std::size_t index) const { return nodes_[index]; }

    ThreadPlace PlaceOf(std::size_t index, const IsReadFunction& isRead) const;
    TreeCounts Count(const IsReadFunction& isRead) const;
    // The page numbers of the thread that holds the node `index`, each
    // once, in tree order.
    std::vector<int> ThreadNumbers(std::size_t index) const;
    // The page numbers of the whole tree, each once, in tree order.
    std::vector<int> AllNumbers() const;

  private:
    // The thread's nodes: from its first node up to the next thread's.
    std::pair<std::size_t, std::size_t> ThreadRange(std::size_t index) const;
    std::vector<int> Numbers(std::size_t begin, std::size_t end) const;
    int Unread(std::size_t begin, std::size_t end, const IsReadFunction& isRead) const;

    std::vector<OutlineNode> nodes_;
};

}  // namespace teluri

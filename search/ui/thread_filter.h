// The thread filter: a text field for the tool bar. As the user types, the
// tree shows only the threads (top-level nodes with their whole subtrees)
// that hold a node whose page contains the text, by the search's rule; the
// nodes whose pages match get a tinted background and their ancestors are
// expanded; the field shows the number of matching pages, and the first
// matching node is scrolled into view. Enter and Shift+Enter make the next
// and the previous matching node in tree order current, round the end. An
// empty field, or Esc in the field or in the tree, shows the whole tree
// again, expanded as it was before. The pages' texts are read when the field
// first takes the focus (or at its first use), and kept until the tree is
// filled anew. The filter writes no file.
#pragma once

#include <QLineEdit>
#include <QPersistentModelIndex>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "threads/archive.h"

class QLabel;

namespace teluri {

class BusyGauge;
class PageTexts;
class ThreadTreeModel;
class ThreadTreeView;

class ThreadFilter : public QLineEdit {
  public:
    // Filters `tree`, whose nodes name pages of the archive's data folder;
    // the first use steps the gauge once per page read.
    ThreadFilter(ThreadTreeView& tree, const Archive& archive, BusyGauge& gauge, QWidget* parent);
    ~ThreadFilter() override;

    // The count shown in the field, "" when the filter is off.
    QString CountText() const;
    // Memory held for the pages' texts.
    std::size_t HeldBytes() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Taking the focus, the field begins reading the pages on threads of
    // their own: by the first letter typed they are mostly read.
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Node {
        std::size_t id;    // in the tree's model
        int parent;        // -1 for a top-level node
        std::size_t root;  // the top-level node above it, or itself
        std::size_t slot;
    };

    // Makes the page texts those of the archive's data folder; true when
    // they were not already.
    bool UseTextsOfDataFolder();
    std::vector<std::string> NumbersOf(const std::vector<Node>& nodes) const;
    void ApplyText(const QString& text);
    void Begin();
    void Apply(const std::string& needle);
    void End();
    // The tree is about to be emptied: its items go away.
    void Forget();
    // The top-level nodes were put in another order (ThreadOrder): the
    // filter's nodes follow the tree's order.
    void FollowTreeOrder();
    // Nodes in tree order, from the tree's top-level nodes down.
    std::vector<Node> NodesInTreeOrder() const;
    void ScrollToFirstMatch();
    // Makes the matching node after (step 1) or before (step -1) the current
    // node current, round the end.
    void StepToMatch(int step);
    void MakeCurrent(const QModelIndex& node);
    // Down or Up in the tree while its current node is in a hidden thread:
    // the first shown node becomes the current one. (The view would count
    // from the hidden node's place and pass over the first shown one.)
    bool StartAtFirstShownNode(const QKeyEvent& key);

    ThreadTreeView& tree_;
    ThreadTreeModel& model_;
    const Archive& archive_;
    BusyGauge& gauge_;
    QLabel* countLabel_ = nullptr;
    std::unique_ptr<PageTexts> texts_;
    // While filtering: every node in pre-order and its state before and now.
    bool active_ = false;
    // The tree's current node when filtering began.
    QPersistentModelIndex currentAtBegin_;
    std::vector<Node> nodes_;
    std::vector<char> wasExpanded_;
    std::vector<char> expanded_;
    std::vector<char> marked_;
    std::vector<char> hidden_;
    // The last text applied and its matching pages, to narrow the next one.
    std::string needle_;
    std::vector<char> matching_;
    // The answers for the texts applied last, oldest first.
    std::vector<std::pair<std::string, std::vector<char>>> recent_;
};

}  // namespace teluri

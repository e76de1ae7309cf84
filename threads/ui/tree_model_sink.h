// Receives the nodes of a thread tree and shows them in the tree view's
// model in one go when finished: when Finish is called or the sink is
// destroyed, also after a run or a read that failed, with the nodes received
// until then.
#pragma once

#include <string>

#include "threads/thread_tree.h"

namespace teluri {

class ThreadTreeModel;

class TreeModelSink : public TreeSink {
  public:
    explicit TreeModelSink(ThreadTreeModel& model);
    ~TreeModelSink() override;
    TreeModelSink(const TreeModelSink&) = delete;
    TreeModelSink& operator=(const TreeModelSink&) = delete;

    NodeId AppendRoot(const std::string& text) override;
    NodeId AppendChild(NodeId parent, const std::string& text) override;
    void SetPicture(NodeId node, int picture) override;

    // Shows the nodes received in the model; once.
    void Finish();

  protected:
    ThreadTreeModel& Model() { return model_; }

  private:
    ThreadTreeModel& model_;
    ThreadTree tree_;
    bool finished_ = false;
};

}  // namespace teluri

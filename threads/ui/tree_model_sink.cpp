#include "threads/ui/tree_model_sink.h"

#include <utility>

#include "threads/ui/thread_tree_model.h"

namespace teluri {

TreeModelSink::TreeModelSink(ThreadTreeModel& model) : model_(model) {}

TreeModelSink::~TreeModelSink() {
    Finish();
}

TreeSink::NodeId TreeModelSink::AppendRoot(const std::string& text) {
    return tree_.AppendRoot(text);
}

TreeSink::NodeId TreeModelSink::AppendChild(NodeId parent, const std::string& text) {
    return tree_.AppendChild(parent, text);
}

void TreeModelSink::SetPicture(NodeId node, int picture) {
    tree_.SetPicture(node, picture);
}

void TreeModelSink::Finish() {
    if (!finished_) {
        finished_ = true;
        model_.Fill(std::move(tree_));
    }
}

}  // namespace teluri

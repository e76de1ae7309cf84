#include "app/treebuilder.h"

#include <optional>
#include <unordered_map>
#include <vector>

#include "analysis/htmlanl.h"
#include "base/bytes.h"
#include "base/errors.h"
#include "base/files.h"
#include "base/paths.h"

namespace teluri {
namespace {

// Runs a query on a page; a number field that is no integer stops the run
// with the page's file named in the error.
template <typename Query>
auto QueryPage(const std::string& pageFile, Query&& query) {
    try {
        return query();
    } catch (ConvertError& error) {
        error.SetFile(pageFile);
        throw;
    }
}

// Adds a page's node and, depth first, the nodes of its replies. The path
// from the root down to the node being filled is an explicit stack, so that
// reply chains thousands of pages deep need no deep recursion. A reply whose
// page file is already on that path is skipped, which ends reply cycles.
class NodeAdder {
  public:
    NodeAdder(const std::string& dataPath, TreeSink& sink) : dataPath_(dataPath), sink_(sink) {}

    void AddPageNode(std::optional<TreeSink::NodeId> parent, const std::string& text,
                     const THtmlAnl& page, const std::string& pageFile) {
        Push(parent, text, page, pageFile);
        while (!path_.empty()) {
            Level& level = path_.back();
            if (level.nextReply == level.replies.size()) {
                Pop();
                continue;
            }
            const TreeSink::NodeId node = level.node;
            const std::string replyFile = PageFile(dataPath_, level.replies[level.nextReply++]);
            if (onPath_.count(replyFile) != 0) {
                continue;
            }
            THtmlAnl reply;
            if (!reply.Load(replyFile)) {
                continue;  // a reply without a page file gives no node
            }
            Push(node, QueryPage(replyFile, [&reply] { return NodeText(reply); }), reply,
                 replyFile);
        }
    }

  private:
    struct Level {
        TreeSink::NodeId node;
        std::string pageFile;
        std::vector<std::string> replies;
        std::size_t nextReply = 0;
    };

    void Push(std::optional<TreeSink::NodeId> parent, const std::string& text, const THtmlAnl& page,
              const std::string& pageFile) {
        const TreeSink::NodeId node =
            parent ? sink_.AppendChild(*parent, text) : sink_.AppendRoot(text);
        sink_.SetPicture(node, PictureOf(page));
        path_.push_back({node, pageFile, page.Replies()});
        ++onPath_[pageFile];
    }

    void Pop() {
        const auto entry = onPath_.find(path_.back().pageFile);
        if (--entry->second == 0) {
            onPath_.erase(entry);
        }
        path_.pop_back();
    }

    int PictureOf(const THtmlAnl& page) const {
        const std::string ownFile = PageFile(dataPath_, std::to_string(page.GetNumber()));
        if (!FileExists(ownFile)) {
            return kPictureMissingPage;
        }
        return IsBuilderTitle(page.GetTitle()) ? kPictureBuilder : kPictureDelphi;
    }

    const std::string& dataPath_;
    TreeSink& sink_;
    std::vector<Level> path_;
    std::unordered_map<std::string, int> onPath_;
};

class RunEnd {
  public:
    explicit RunEnd(TreeSink& sink) : sink_(sink) {}
    ~RunEnd() { sink_.EndRun(); }
    RunEnd(const RunEnd&) = delete;
    RunEnd& operator=(const RunEnd&) = delete;

  private:
    TreeSink& sink_;
};

}  // namespace

std::string NodeText(const THtmlAnl& page) {
    return std::to_string(page.GetNumber()) + ":" + page.GetTitle();
}

int ProgressPercent(int index, int count) {
    if (count <= 1) {
        return 100;
    }
    return static_cast<int>(static_cast<long long>(index) * 100 / (count - 1));
}

void BuildTree(const std::string& dataPath, TreeSink& sink) {
    sink.BeginRun();
    RunEnd runEnd(sink);
    const std::vector<std::string> names = sink.ListFolder(dataPath);
    const int count = static_cast<int>(names.size());
    NodeAdder adder(dataPath, sink);
    THtmlAnl page;  // one reader serves every file of the list
    for (int i = 0; i < count; ++i) {
        sink.Progress(i, count);
        const std::string pageFile = dataPath + names[static_cast<std::size_t>(i)];
        if (!page.Load(pageFile)) {
            continue;  // removed since the folder was listed
        }
        if (QueryPage(pageFile, [&page] { return page.GetParentNumber() == -1; })) {
            adder.AddPageNode(std::nullopt, QueryPage(pageFile, [&page] { return NodeText(page); }),
                              page, pageFile);
        }
    }
}

}  // namespace teluri

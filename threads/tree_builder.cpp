#include "threads/tree_builder.h"

#include <optional>
#include <unordered_map>
#include <vector>

#include "analysis/page_reader.h"
#include "base/bytes.h"
#include "base/errors.h"
#include "base/files.h"
#include "base/index_workers.h"
#include "base/messages.h"
#include "base/paths.h"

namespace teluri {
namespace {

constexpr std::string_view kTooManyNodes = "ツリーのノードが %s 個を超えるため、解析を中止しました";
constexpr std::string_view kTooManyLinks = "返信リンクが %s 個を超えるため、解析を中止しました";

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

// The pages of one run. The run's file list is read and parsed on worker
// threads (IndexWorkers), each file once, whole, by whichever thread takes
// it; the run asks for the pages in its own order, which is the order in
// which one thread would read them: the list's order, and each reply page
// at its first link. A page asked for before a thread took it is read right
// there. Files outside the list that a reply link names are read at their
// first link. Every file is read and parsed once in the run, however many
// links name it: a missing file stays missing, and a read error is thrown
// where the run first asks for the file, as one thread would meet it.
class PageReads {
  public:
    // `names`: the run's file list, which must outlive the record.
    PageReads(const std::string& dataPath, const std::vector<std::string>& names)
        : dataPath_(dataPath),
          folder_(dataPath),
          names_(names),
          listed_(names.size()),
          buffers_(IndexWorkers::FileThreads(names.size())),
          workers_(
              names.size(), [this](std::size_t index, std::size_t worker) { Parse(index, worker); },
              buffers_.size()) {
        listIndex_.reserve(names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            listIndex_.emplace(names[i], i);
        }
    }

    // The page in file `file`, or nullptr when no such file exists; a file
    // that cannot be read throws IoError.
    const PageReader* Load(const std::string& file) {
        if (file.compare(0, dataPath_.size(), dataPath_) == 0) {
            const auto listed = listIndex_.find(std::string_view(file).substr(dataPath_.size()));
            if (listed != listIndex_.end()) {
                return LoadListed(listed->second);
            }
        }
        const auto known = unlisted_.find(file);
        if (known != unlisted_.end()) {
            return known->second ? &*known->second : nullptr;
        }
        // Read on this thread, the calling one, which is worker 0.
        std::optional<PageReader> page;
        if (const auto content = ReadFileInto(file, buffers_[0])) {
            page.emplace().LoadContent(file, *content);
        }
        const std::optional<PageReader>& kept =
            unlisted_.emplace(file, std::move(page)).first->second;
        return kept ? &*kept : nullptr;
    }

    // As Load, for entry `index` of the run's file list.
    const PageReader* LoadListed(std::size_t index) {
        workers_.Finish(index);
        return listed_[index] ? &*listed_[index] : nullptr;
    }

  private:
    void Parse(std::size_t index, std::size_t worker) {
        if (const auto content = folder_.ReadFileInto(names_[index], buffers_[worker])) {
            listed_[index].emplace().LoadContent(dataPath_ + names_[index], *content);
        }
    }

    const std::string& dataPath_;
    const OpenFolder folder_;  // the data folder: list files are opened by name
    const std::vector<std::string>& names_;
    // By bare name, as short keys hash faster than whole paths.
    std::unordered_map<std::string_view, std::size_t> listIndex_;
    std::vector<std::optional<PageReader>> listed_;
    std::unordered_map<std::string, std::optional<PageReader>> unlisted_;
    // One per worker: every page a thread reads goes into its buffer in turn.
    std::vector<std::string> buffers_;
    // Last: the threads stop before the record they fill goes away.
    IndexWorkers workers_;
};

// Adds a page's node and, depth first, the nodes of its replies. The path
// from the root down to the node being filled is an explicit stack, so that
// reply chains thousands of pages deep need no deep recursion. A reply whose
// page file is already on that path is skipped, which ends reply cycles.
class NodeAdder {
  public:
    NodeAdder(const std::string& dataPath, TreeSink& sink, PageReads& reads)
        : dataPath_(dataPath), sink_(sink), reads_(reads) {}

    void AddPageNode(std::optional<TreeSink::NodeId> parent, const std::string& text,
                     const PageReader& page, const std::string& pageFile) {
        Push(parent, text, page, pageFile);
        while (!path_.empty()) {
            Level& level = path_.back();
            if (level.nextReply == level.replies->size()) {
                Pop();
                continue;
            }
            if (++linkCount_ > kMaxReplyLinks) {
                throw TreeTooLargeError(msg::Format(kTooManyLinks, std::to_string(kMaxReplyLinks)),
                                        level.pageFile);
            }
            const TreeSink::NodeId node = level.node;
            const std::string& replyText = (*level.replies)[level.nextReply++];
            if (!NamesPageFile(replyText)) {
                continue;  // as a reply without a page file
            }
            const std::string replyFile = PageFile(dataPath_, replyText);
            if (onPath_.count(replyFile) != 0) {
                continue;
            }
            const PageReader* reply = reads_.Load(replyFile);
            if (reply == nullptr) {
                continue;  // a reply without a page file gives no node
            }
            Push(node, QueryPage(replyFile, [reply] { return NodeText(*reply); }), *reply,
                 replyFile);
        }
    }

  private:
    struct Level {
        TreeSink::NodeId node;
        std::string pageFile;
        // The page's own list: a page on the path is never loaded again
        // while it is there, so its record stays.
        const std::vector<std::string>* replies;
        std::size_t nextReply = 0;
    };

    void Push(std::optional<TreeSink::NodeId> parent, const std::string& text,
              const PageReader& page, const std::string& pageFile) {
        if (++nodeCount_ > kMaxTreeNodes) {
            throw TreeTooLargeError::TooManyNodes(pageFile);
        }
        const TreeSink::NodeId node =
            parent ? sink_.AppendChild(*parent, text) : sink_.AppendRoot(text);
        sink_.SetPicture(node, PictureOf(page, pageFile));
        path_.push_back({node, pageFile, &page.Replies()});
        ++onPath_[pageFile];
    }

    void Pop() {
        const auto entry = onPath_.find(path_.back().pageFile);
        if (--entry->second == 0) {
            onPath_.erase(entry);
        }
        path_.pop_back();
    }

    // `pageFile`: the file the page was read from; when that is the page's
    // own file, it is known to exist without another status call.
    int PictureOf(const PageReader& page, const std::string& pageFile) const {
        const std::string ownFile = PageFile(dataPath_, std::to_string(page.Number()));
        if (ownFile != pageFile && !FileExists(ownFile)) {
            return kPictureMissingPage;
        }
        return IsBuilderTitle(page.Title()) ? kPictureBuilder : kPictureDelphi;
    }

    const std::string& dataPath_;
    TreeSink& sink_;
    PageReads& reads_;
    std::vector<Level> path_;
    std::unordered_map<std::string, int> onPath_;
    std::size_t nodeCount_ = 0;
    std::size_t linkCount_ = 0;
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

TreeTooLargeError::TreeTooLargeError(const std::string& message, std::string pageFile)
    : TeluriError(message) {
    SetFile(std::move(pageFile));
}

TreeTooLargeError TreeTooLargeError::TooManyNodes(std::string file) {
    return {msg::Format(kTooManyNodes, std::to_string(kMaxTreeNodes)), std::move(file)};
}

std::string NodeText(const PageReader& page) {
    return std::to_string(page.Number()) + ":" + page.Title();
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
    PageReads reads(dataPath, names);
    NodeAdder adder(dataPath, sink, reads);
    for (int i = 0; i < count; ++i) {
        sink.Progress(i, count);
        const std::string pageFile = dataPath + names[static_cast<std::size_t>(i)];
        const PageReader* page = reads.LoadListed(static_cast<std::size_t>(i));
        if (page == nullptr) {
            continue;  // removed since the folder was listed
        }
        if (QueryPage(pageFile, [page] { return page->ParentNumber() == -1; })) {
            adder.AddPageNode(std::nullopt, QueryPage(pageFile, [page] { return NodeText(*page); }),
                              *page, pageFile);
        }
    }
}

}  // namespace teluri

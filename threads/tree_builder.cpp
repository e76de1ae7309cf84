#include "threads/tree_builder.h"

#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "analysis/page_reader.h"
#include "base/bytes.h"
#include "base/errors.h"
#include "base/files.h"
#include "base/messages.h"
#include "base/page_prefetch.h"
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

// The pages read in one run, by file name. A page file read before in the
// run is not read again while its status shows the same file unchanged (see
// FileStamp): the page a reply link names is read once for its node and
// once more when the run's file list reaches it, and the second time costs
// one status call. Anything else (a file that vanished, changed, or whose
// status cannot be looked at) is read, or not found, exactly as at the first
// time; a file that was missing stays missing for the run. The fields are
// kept as bytes, so every conversion error is thrown when the field is
// used, as without the record. The files of the run's list are read ahead
// in list order (PagePrefetch), which gives each page as a read at the
// moment it is asked for would.
class PageReads {
  public:
    // `names`: the run's file list, which must outlive the record.
    PageReads(const std::string& dataPath, const std::vector<std::string>& names)
        : dataPath_(dataPath), prefetch_(ListedFiles(dataPath, names)) {
        if (!prefetch_.ReadsAhead()) {
            return;  // the index only serves to take reply pages read ahead
        }
        listIndex_.reserve(names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            listIndex_.emplace(names[i], i);
        }
    }

    // The page in file `file`, or nullptr when no such file exists; a file
    // that cannot be read throws IoError. The page stays valid until the
    // same file is loaded again.
    const PageReader* Load(const std::string& file) { return Load(file, ListIndexOf(file)); }

    // As Load, for entry `index` of the run's file list.
    const PageReader* LoadListed(std::size_t index, const std::string& file) {
        return Load(file, index);
    }

    // Drops the record of entry `index` of the file list, the file `file`:
    // the run has passed it, and only a reply link back to it would look
    // for it again.
    void Forget(std::size_t index, const std::string& file) {
        pages_.erase(file);
        prefetch_.Pass(index);
    }

  private:
    struct Entry {
        PageReader page;
        FileStamp stamp;
    };

    const PageReader* Load(const std::string& file, std::optional<std::size_t> listed) {
        const auto known = pages_.find(file);
        if (known != pages_.end()) {
            switch (CheckFileStamp(file, known->second.stamp)) {
                case FileCheck::kSameStamp:
                    return &known->second.page;
                case FileCheck::kAbsent:
                    return nullptr;
                case FileCheck::kOther:
                    break;
            }
        }
        if (absent_.count(file) != 0) {
            return nullptr;
        }
        Entry entry;
        const std::optional<std::string_view> content =
            listed ? prefetch_.Take(*listed, buffer_, &entry.stamp)
                   : ReadFileInto(file, buffer_, &entry.stamp);
        if (!content) {
            absent_.insert(file);
            return nullptr;
        }
        entry.page.LoadContent(file, *content);
        return &(pages_[file] = std::move(entry)).page;
    }

    // The place of `file` in the run's file list, when it is one of them.
    std::optional<std::size_t> ListIndexOf(const std::string& file) const {
        if (!prefetch_.ReadsAhead() || file.compare(0, dataPath_.size(), dataPath_) != 0) {
            return std::nullopt;
        }
        const auto listed = listIndex_.find(std::string_view(file).substr(dataPath_.size()));
        if (listed == listIndex_.end()) {
            return std::nullopt;
        }
        return listed->second;
    }

    static std::vector<std::string> ListedFiles(const std::string& dataPath,
                                                const std::vector<std::string>& names) {
        std::vector<std::string> files;
        files.reserve(names.size());
        for (const std::string& name : names) {
            files.push_back(dataPath + name);
        }
        return files;
    }

    const std::string& dataPath_;
    PagePrefetch prefetch_;
    std::string buffer_;  // every page is read into it in turn
    // By bare name, as short keys hash faster than whole paths.
    std::unordered_map<std::string_view, std::size_t> listIndex_;
    std::unordered_map<std::string, Entry> pages_;
    // Files found missing: a page that lists thousands of replies without
    // a page file costs one look per file and run, not one per listing.
    std::unordered_set<std::string> absent_;
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

    // `pageFile`: the file the page was read from, or found unchanged in,
    // just before its node was added; when that is the page's own file, it
    // is known to exist without another status call.
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
        const PageReader* page = reads.LoadListed(static_cast<std::size_t>(i), pageFile);
        if (page == nullptr) {
            continue;  // removed since the folder was listed
        }
        if (QueryPage(pageFile, [page] { return page->ParentNumber() == -1; })) {
            adder.AddPageNode(std::nullopt, QueryPage(pageFile, [page] { return NodeText(*page); }),
                              *page, pageFile);
        }
        reads.Forget(static_cast<std::size_t>(i), pageFile);
    }
}

}  // namespace teluri

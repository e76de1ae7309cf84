#include "threads/tree_builder.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "base/errors.h"
#include "tests/support/errors.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"
#include "tests/support/trees.h"

namespace teluri {
namespace {

using test::Outline;
using test::Page;
using test::TempFolder;
using test::Thrown;
using test::WriteFile;
using Files = std::vector<std::pair<std::string, std::string>>;
using Nodes = std::vector<std::string>;
using Events = std::vector<std::string>;

// A page "<number>.msg" with the title "t".
std::pair<std::string, std::string> Msg(const std::string& number, const std::string& parent = {},
                                        const std::vector<std::string>& replies = {}) {
    return {number + ".msg", Page(number, "t", parent, replies)};
}

// Records the course of a run next to the nodes.
class RecordingTree : public ThreadTree {
  public:
    void BeginRun() override { events.push_back("begin"); }
    void Progress(int index, int count) override {
        events.push_back(std::to_string(index) + "/" + std::to_string(count));
    }
    void EndRun() noexcept override { events.push_back("end"); }

    Events events;
};

class TreeBuilderTest : public ::testing::Test {
  protected:
    void Put(const Files& files) {
        for (const auto& [name, content] : files) {
            WriteFile(folder_ / name, content);
        }
    }

    // The files in place of the folder's content.
    void PutOnly(const Files& files) {
        for (const auto& entry : std::filesystem::directory_iterator(folder_.Path())) {
            std::filesystem::remove(entry.path());
        }
        Put(files);
    }

    // The folder's tree with the pictures.
    Nodes Build() {
        ThreadTree tree;
        BuildTree(folder_.Path(), tree);
        return Outline(tree.PreOrder(), true);
    }

    TempFolder folder_;
};

TEST_F(TreeBuilderTest, BuildsTheThreads) {
    const struct {
        const char* name;
        Files files;
        Nodes nodes;
    } cases[] = {
        {"roots in file order, replies in link order",
         {{"1005.msg", Page("1005", "C++Builder")},
          {"1001.msg", Page("1001", "Delphi", "", {"1003", "1002"})},
          Msg("1002", "1001"),
          {"1003.msg", Page("1003", "Re: [bcb]", "1001", {"1004"})},
          Msg("1004", "1003")},
         {"1001:Delphi 0", ".1003:Re: [bcb] 1", "..1004:t 0", ".1002:t 0", "1005:C++Builder 1"}},
        {"no page file of the node's own number",
         {{"1029.bak", Page("1029", "Lost", "", {"1032"})},
          Msg("1032", "1029"),
          {"1050.msg", Page("1060", "Moved")},
          {"1070.msg", ""},
          {"1080.msg", Page("1032", "Copy")}},
         {"1029:Lost 2", ".1032:t 0", "1060:Moved 2", "-1: 2", "1032:Copy 0"}},
        {"missing reply page, orphan",
         {Msg("1001", "", {"1040", "1002"}), Msg("1002", "1001"), Msg("1041", "1001")},
         {"1001:t 0", ".1002:t 0"}},
        {"two parents list one reply",
         {Msg("1001", "", {"1003"}), Msg("1002", "", {"1003"}), Msg("1003", "1001", {"1004"}),
          Msg("1004", "1003")},
         {"1001:t 0", ".1003:t 0", "..1004:t 0", "1002:t 0", ".1003:t 0", "..1004:t 0"}},
        {"a reply without a parent link is a root too",
         {Msg("1001", "", {"1002"}), Msg("1002")},
         {"1001:t 0", ".1002:t 0", "1002:t 0"}},
        {"a page seen in another branch is no cycle",
         {Msg("1001", "", {"1002", "1003"}), Msg("1002", "1001", {"1003"}), Msg("1003", "1001")},
         {"1001:t 0", ".1002:t 0", "..1003:t 0", ".1003:t 0"}},
        {"self reply", {Msg("1001", "", {"1001"})}, {"1001:t 0"}},
        {"two-page cycle",
         {Msg("1001", "", {"1002"}), Msg("1002", "1001", {"1001"})},
         {"1001:t 0", ".1002:t 0"}},
        {"long cycle; the rest of the replies still count",
         {Msg("1001", "", {"1002"}), Msg("1002", "1001", {"1003"}), Msg("1003", "1002", {"1004"}),
          Msg("1004", "1003", {"1002", "1005"}), Msg("1005", "1004", {"1001"})},
         {"1001:t 0", ".1002:t 0", "..1003:t 0", "...1004:t 0", "....1005:t 0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PutOnly(c.files);
        EXPECT_EQ(Build(), c.nodes);
    }
}

// The four bytes after a reply link name a file in the data folder only:
// a text with a path separator names no page and gives no node, while a
// short number with the quote byte stays a name as it stands.
TEST_F(TreeBuilderTest, ReplyTextsWithSeparatorsNameNoPage) {
    const std::string data = folder_ / "data/";
    std::filesystem::create_directory(data);
    WriteFile(folder_ / "x.msg", Page("1999", "outside"));
    WriteFile(data + "..\\x.msg", Page("1998", "backslash"));
    WriteFile(data + "12\">.msg", Page("1012", "short", "1001"));
    WriteFile(data + "1001.msg", Page("1001", "t", "", {"../x", "..\\x", "12", "1002"}));
    WriteFile(data + "1002.msg", Page("1002", "t", "1001", {"/../", "\\x\\"}));
    ThreadTree tree;
    BuildTree(data, tree);
    EXPECT_EQ(Outline(tree.PreOrder()), Nodes({"1001:t", ".1012:short", ".1002:t"}));
}

TEST_F(TreeBuilderTest, EmptyFolderGivesAnEmptyTree) {
    WriteFile(folder_ / "notes.txt", Page("1001", "t"));
    EXPECT_EQ(Build(), Nodes{});
}

TEST_F(TreeBuilderTest, DeepChainNeedsNoDeepRecursion) {
    // Four-digit numbers allow a chain of 9000 pages.
    for (int number = 1000; number <= 9999; ++number) {
        Put({Msg(std::to_string(number), number > 1000 ? std::to_string(number - 1) : "",
                 number < 9999 ? std::vector<std::string>{std::to_string(number + 1)}
                               : std::vector<std::string>{})});
    }
    ThreadTree tree;
    BuildTree(folder_.Path(), tree);
    const std::vector<TreeLine> lines = tree.PreOrder();
    ASSERT_EQ(lines.size(), 9000u);
    EXPECT_EQ(lines.front().text, "1000:t");
    EXPECT_EQ(lines.back().depth, 8999u);
    EXPECT_EQ(lines.back().text, "9999:t");
}

// Every reply link is a node, duplicates too, so pages that list their reply
// many times multiply the tree at each level. A run stops at a fixed number
// of nodes, and of reply links looked at (links without a page give no node
// but cost work each time), naming the page where the limit was reached; up
// to the limits it builds.
TEST_F(TreeBuilderTest, LimitsStopExponentialTreesNamingThePage) {
    const auto listing = [](const std::string& number, const std::string& reply, std::size_t n) {
        return Msg(number, "", std::vector<std::string>(n, reply));
    };
    const std::string tooManyNodes =
        "ツリーのノードが " + std::to_string(kMaxTreeNodes) + " 個を超えるため、解析を中止しました";
    const std::string tooManyLinks =
        "返信リンクが " + std::to_string(kMaxReplyLinks) + " 個を超えるため、解析を中止しました";
    const struct {
        const char* name;
        Files files;
        std::string file;  // empty: the run ends without error
        std::string message;
        std::size_t nodes;
    } cases[] = {
        {"exactly the node limit",
         {listing("1001", "1002", kMaxTreeNodes - 1), Msg("1002", "1001")},
         "",
         "",
         kMaxTreeNodes},
        {"one node more",
         {listing("1001", "1002", kMaxTreeNodes), Msg("1002", "1001")},
         "1002.msg",
         tooManyNodes,
         kMaxTreeNodes},
        {"1000 listings, four pages deep",
         {listing("1001", "1002", 1000), listing("1002", "1003", 1000),
          listing("1003", "1004", 1000), listing("1004", "1005", 1000), Msg("1005")},
         "1005.msg",
         tooManyNodes,
         kMaxTreeNodes},
        {"a chain that doubles per page", {}, "1020.msg", tooManyNodes, kMaxTreeNodes},
        {"links without a page, repeated",
         {listing("1000", "1001", 1000), listing("1001", "9999", 1000)},
         "1001.msg",
         tooManyLinks,
         1 + 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PutOnly(c.files);
        if (c.files.empty()) {
            for (int number = 1000; number < 1022; ++number) {
                Put({listing(std::to_string(number), std::to_string(number + 1), 2)});
            }
        }
        RecordingTree tree;
        const auto error = Thrown<TreeTooLargeError>([&] { BuildTree(folder_.Path(), tree); });
        EXPECT_EQ(tree.PreOrder().size(), c.nodes);
        EXPECT_EQ(tree.events.back(), "end");
        if (c.file.empty()) {
            EXPECT_FALSE(error);
            continue;
        }
        ASSERT_TRUE(error);
        EXPECT_EQ(error->File(), folder_ / c.file);
        EXPECT_EQ(error->what(), c.message);
    }
}

TEST_F(TreeBuilderTest, ConversionErrorStopsTheRunNamingThePage) {
    const struct {
        const char* name;
        Files files;
        std::string file;
        std::string message;
        Nodes nodes;
    } cases[] = {
        {"root's parent field",
         {Msg("1001"), Msg("1002", "12"), Msg("1003")},
         "1002.msg",
         "'12\">' は整数ではありません",
         {"1001:t 0"}},
        {"root's number field",
         {Msg("1001"), {"1002.msg", Page("ab", "t")}, Msg("1003")},
         "1002.msg",
         "'ab -' は整数ではありません",
         {"1001:t 0"}},
        {"reply's number field",
         {Msg("1000"),
          Msg("1001", "", {"1002"}),
          {"1002.msg", Page("1x02", "t", "1001")},
          Msg("1003")},
         "1002.msg",
         "'1x02' は整数ではありません",
         {"1000:t 0", "1001:t 0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PutOnly(c.files);
        RecordingTree tree;
        const auto error = Thrown<ConvertError>([&] { BuildTree(folder_.Path(), tree); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->File(), folder_ / c.file);
        EXPECT_EQ(error->what(), c.message);
        EXPECT_EQ(Outline(tree.PreOrder(), true), c.nodes);
        EXPECT_EQ(tree.events.back(), "end");
    }
}

TEST_F(TreeBuilderTest, UnreadablePageStopsTheRun) {
    TempFolder other;
    // A root page and a reply page that cannot be read.
    Put({Msg("1001"), Msg("1002"), Msg("1003")});
    WriteFile(other / "1001.msg", Page("1001", "t", "", {"1002"}));
    WriteFile(other / "1002.msg", Page("1002", "t", "1001"));
    for (const std::string& locked : {folder_ / "1002.msg", other / "1002.msg"}) {
        ::chmod(locked.c_str(), 0);
    }
    EXPECT_TRUE(test::RunWithoutPrivileges([&] {
        bool passed = true;
        for (const TempFolder* data : {&folder_, &other}) {
            ThreadTree tree;
            const auto error = Thrown<IoError>([&] { BuildTree(data->Path(), tree); });
            passed = passed && error &&
                     error->what() == "ﾌｧｲﾙ " + (*data / "1002.msg") + " は開けません" &&
                     Outline(tree.PreOrder()) == Nodes{"1001:t"};
        }
        return passed;
    }));
}

TEST_F(TreeBuilderTest, ReportsTheCourseOfTheRun) {
    Put({Msg("1001", "", {"1002"}), Msg("1002", "1001"), Msg("1003")});
    RecordingTree tree;
    BuildTree(folder_.Path(), tree);
    EXPECT_EQ(tree.events, (Events{"begin", "0/3", "1/3", "2/3", "end"}));

    RecordingTree failing;
    Put({Msg("1002", "1x01")});
    EXPECT_THROW(BuildTree(folder_.Path(), failing), ConvertError);
    EXPECT_EQ(failing.events, (Events{"begin", "0/3", "1/3", "end"}));

    RecordingTree empty;
    TempFolder emptyFolder;
    BuildTree(emptyFolder.Path(), empty);
    EXPECT_EQ(empty.events, (Events{"begin", "end"}));
}

TEST_F(TreeBuilderTest, MissingFolderFailsBeforeAnyFile) {
    const std::string missing = folder_ / "none/";
    RecordingTree tree;
    const auto error = Thrown<IoError>([&] { BuildTree(missing, tree); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->what(), "ﾌｫﾙﾀﾞ " + missing + " は開けません");
    EXPECT_EQ(tree.events, (Events{"begin", "end"}));
}

TEST_F(TreeBuilderTest, FileRemovedAfterListingIsSkipped) {
    // Removes a file while the run goes on: the threads that read the list
    // may have read it already, and then it stays; otherwise it is skipped.
    // It is never an error.
    class RemovingTree : public RecordingTree {
      public:
        explicit RemovingTree(std::string folder) : folder(std::move(folder)) {}
        void Progress(int index, int count) override {
            RecordingTree::Progress(index, count);
            if (index == 1) {
                std::remove((folder + "1002.msg").c_str());
            }
        }
        const std::string folder;
    };
    Put({Msg("1001"), Msg("1002"), Msg("1003")});
    RemovingTree tree(folder_.Path());
    BuildTree(folder_.Path(), tree);
    const Nodes nodes = Outline(tree.PreOrder());
    EXPECT_TRUE(nodes == (Nodes{"1001:t", "1003:t"}) ||
                nodes == (Nodes{"1001:t", "1002:t", "1003:t"}))
        << ::testing::PrintToString(nodes);
    EXPECT_EQ(tree.events.size(), 5u);
}

TEST_F(TreeBuilderTest, EveryRunReadsTheFolderAnew) {
    Put({Msg("1001")});
    EXPECT_EQ(Build(), Nodes{"1001:t 0"});
    Put({Msg("1001", "", {"1002"}), Msg("1002", "1001"), Msg("1000")});
    EXPECT_EQ(Build(), (Nodes{"1000:t 0", "1001:t 0", ".1002:t 0"}));
}

TEST(ProgressPercentTest, SpreadsFromZeroTo100) {
    const struct {
        int count;
        std::vector<int> percents;
    } cases[] = {
        {5, {0, 25, 50, 75, 100}},
        {3, {0, 50, 100}},
        {4, {0, 33, 66, 100}},
        {1, {100}},
    };
    for (const auto& c : cases) {
        std::vector<int> percents;
        for (int index = 0; index < c.count; ++index) {
            percents.push_back(ProgressPercent(index, c.count));
        }
        EXPECT_EQ(percents, c.percents) << c.count;
    }
    EXPECT_EQ(ProgressPercent(30000000, 30000001), 100);  // index * 100 exceeds int
}

}  // namespace
}  // namespace teluri

#include "threads/tree_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/support/errors.h"
#include "tests/support/temp_folder.h"
#include "tests/support/trees.h"

namespace teluri {
namespace {

using test::Outline;
using test::ReadFile;
using test::TempFolder;
using test::Thrown;
using test::WriteFile;
using Nodes = std::vector<std::string>;

// "表" (0x95 0x5C) and a full-width blank (0x81 0x40) stay as they are.
const std::vector<TreeLine> kTree = {
    {0, "1001:a", 0},         {1, "1002:\x95\x5C", 1}, {2, "1003:c", 2},
    {1, "1004:\x81\x40", -1}, {0, "1005:e", 0},
};
constexpr std::string_view kTreeDat =
    "1001:a\r\n\t1002:\x95\x5C\r\n\t\t1003:c\r\n\t1004:\x81\x40\r\n1005:e\r\n";

Nodes Read(std::string_view content) {
    ThreadTree tree;
    ReadTreeDat(content, tree);
    return Outline(tree.PreOrder());
}

TEST(TreeDatTest, FormatsOneTabPerLevelAndCrLf) {
    EXPECT_EQ(FormatTreeDat(kTree), kTreeDat);
    EXPECT_EQ(FormatTreeDat({}), "");
    EXPECT_EQ(FormatTreeLine({3, "", -1}), "\t\t\t\r\n");
}

TEST(TreeDatTest, WriteAndReadBack) {
    TempFolder folder;
    const std::string path = folder / "Tree.dat";
    WriteFile(path, "old");
    WriteTreeDat(path, kTree);
    EXPECT_EQ(ReadFile(path), kTreeDat);
    EXPECT_EQ(Read(ReadFile(path)), Outline(kTree));
}

TEST(TreeDatTest, WriteIntoReadOnlyFolderKeepsTheOldFile) {
    TempFolder folder;
    const std::string path = folder / "Tree.dat";
    WriteFile(path, "old");
    ::chmod(folder.Path().c_str(), 0555);
    EXPECT_TRUE(test::RunWithoutPrivileges([&] {
        const auto error = Thrown<IoError>([&] { WriteTreeDat(path, kTree); });
        return error && error->what() == "ﾌｧｲﾙ " + path + " を作成できません";
    }));
    EXPECT_EQ(ReadFile(path), "old");
}

TEST(TreeDatTest, ReadsLevelsFromLeadingTabsAndBlanks) {
    const struct {
        std::string_view content;
        Nodes nodes;
    } cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"a\r\n\r\n\tb\r\n", {"a", "", ".b"}},    // an empty line is a root
        {"a\r\n\t\r\n", {"a", "."}},              // blanks alone: a child with no text
        {"\t\ta\r\nb\r\n\tc", {"a", "b", ".c"}},  // the first line is a root
        {"a\r\n b\r\n  c\r\n\t d\r\n", {"a", ".b", "..c", "..d"}},
        {"a\n\tb\n\t\tc\n", {"a", ".b", "..c"}},
        {"a\r\tb\r\t\tc", {"a", ".b", "..c"}},
        {"a\r\n\tb\r\n\t\tc\r\n\t\t\td\r\n\te\r\nf\r\n\tg\r\n",
         {"a", ".b", "..c", "...d", ".e", "f", ".g"}},
        {"a \tb\r\n\tx y \r\n", {"a \tb", ".x y "}},  // blanks inside and after stay
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Read(c.content), c.nodes) << c.content;
    }
}

TEST(TreeDatTest, LineTwoLevelsDeeperIsAnError) {
    ThreadTree tree;
    const auto error =
        Thrown<TreeLevelError>([&] { ReadTreeDat("a\r\n\tb\r\n\t\t\tc\r\n\td\r\n", tree); });
    ASSERT_TRUE(error);
    EXPECT_STREQ(error->what(), "3 行目の項目 \"c\" のレベル (3) が正しくありません");
    EXPECT_EQ(Outline(tree.PreOrder()), (Nodes{"a", ".b"}));

    ThreadTree second;
    EXPECT_THROW(ReadTreeDat("a\r\n\t\tb\r\n", second), TreeLevelError);
    EXPECT_EQ(Outline(second.PreOrder()), Nodes{"a"});
}

TEST(TreeDatTest, DeepTreeReadsAndWritesBack) {
    std::vector<TreeLine> chain;
    for (std::size_t depth = 0; depth < 9000; ++depth) {
        chain.push_back({depth, std::to_string(depth), -1});
    }
    TempFolder folder;
    WriteTreeDat(folder / "Tree.dat", chain);
    const std::string content = ReadFile(folder / "Tree.dat");
    ThreadTree tree;
    ReadTreeDat(content, tree);
    const std::vector<TreeLine> lines = tree.PreOrder();
    ASSERT_EQ(lines.size(), 9000u);
    EXPECT_EQ(lines.back().depth, 8999u);
    EXPECT_EQ(lines.back().text, "8999");
    EXPECT_EQ(FormatTreeDat(lines), content);
}

}  // namespace
}  // namespace teluri

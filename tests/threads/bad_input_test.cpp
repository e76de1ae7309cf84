// Bad input that the program must take without crashing, hanging or losing
// anything: pages missing their markers, cut-off characters, very many
// pages, folders that vanish during a run, extreme saved trees and
// settings values.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "analysis/page_reader.h"
#include "base/bytes.h"
#include "base/cp932.h"
#include "base/errors.h"
#include "settings/settings_file.h"
#include "tests/support/errors.h"
#include "tests/support/pages.h"
#include "tests/support/peak_memory.h"
#include "tests/support/temp_folder.h"
#include "tests/support/trees.h"
#include "threads/thread_tree.h"
#include "threads/tree_builder.h"
#include "threads/tree_file.h"

namespace teluri {
namespace {

using test::FirstLine;
using test::Outline;
using test::ParentLink;
using test::ReplyLink;
using test::TempFolder;
using test::WriteFile;

TEST(BadPageTest, EveryCombinationOfMissingMarkers) {
    TempFolder folder;
    // Bit 0: the title's end marker; bit 1: a parent link; bit 2: a reply
    // link; bit 3: a first line long enough for the number.
    for (int markers = 0; markers < 16; ++markers) {
        std::string first = (markers & 8) ? FirstLine("1234", "title") : std::string("<html>");
        if (!(markers & 1) && (markers & 8)) {
            first = first.substr(0, first.find("</font>"));
        }
        std::string page = first + "\r\n";
        if (markers & 2) {
            page += ParentLink("1001") + "\r\n";
        }
        if (markers & 4) {
            page += ReplyLink("1002") + "\r\n";
        }
        const std::string file = folder / ("page" + std::to_string(markers));
        WriteFile(file, page);
        PageReader reader;
        ASSERT_TRUE(reader.Load(file));
        if (markers & 8) {
            EXPECT_EQ(reader.Number(), 1234) << markers;
        } else {
            EXPECT_THROW(reader.Number(), ConvertError) << markers;
        }
        EXPECT_EQ(reader.Title(), (markers & 9) == 9 ? "title" : "") << markers;
        EXPECT_EQ(reader.ParentNumber(), (markers & 2) ? 1001 : -1) << markers;
        EXPECT_EQ(reader.Replies().size(), (markers & 4) ? 1u : 0u) << markers;
    }
}

TEST(BadPageTest, CutOffDoubleByteCharacterAtTheEnd) {
    TempFolder folder;
    // The title and the file end with a lone lead byte.
    const std::string title = test::Sjis("表") + "\x82";
    WriteFile(folder / "1234.msg", FirstLine("1234", title) + "\r\n" + ReplyLink("1002") + "\x82");
    PageReader reader;
    ASSERT_TRUE(reader.Load(folder / "1234.msg"));
    EXPECT_EQ(reader.Title(), title);
    EXPECT_EQ(UpperCaseCp932(title), title);
    EXPECT_EQ(Cp932ToUtf8(title), "表\xEF\xBF\xBD");
    EXPECT_EQ(reader.Replies(), std::vector<std::string>({"1002"}));
}

TEST(BadFolderTest, TwentyThousandPages) {
    TempFolder folder;
    // 20,000 roots, numbered past 9999 as an archive never is: the names
    // still sort, every page is read once and nothing overflows.
    for (int i = 0; i < 20000; ++i) {
        const std::string number = std::to_string(10000 + i);
        WriteFile(folder / (number + ".msg"), FirstLine(number.substr(0, 4), "t") + "\r\n");
    }
    ThreadTree tree;
    BuildTree(folder.Path(), tree);
    EXPECT_EQ(tree.PreOrder().size(), 20000u);
}

// Removes the whole data folder as soon as the run reaches its second file.
class FolderRemover : public ThreadTree {
  public:
    explicit FolderRemover(std::string folder) : folder_(std::move(folder)) {}
    void Progress(int index, int) override {
        if (index == 1) {
            std::filesystem::remove_all(folder_);
        }
    }

  private:
    std::string folder_;
};

TEST(BadFolderTest, FolderThatVanishesDuringTheRun) {
    TempFolder parent;
    const std::string folder = parent / "data/";
    std::filesystem::create_directory(folder);
    for (const char* number : {"1001", "1002", "1003"}) {
        WriteFile(folder + number + ".msg", test::Page(number, "t"));
    }
    FolderRemover tree(folder);
    BuildTree(folder, tree);
    // The first page was read; the others were read before the folder went
    // or are skipped, never an error.
    const std::vector<std::string> nodes = Outline(tree.PreOrder());
    ASSERT_FALSE(nodes.empty());
    EXPECT_EQ(nodes.front(), "1001:t");
    EXPECT_LE(nodes.size(), 3u);
}

TEST(BadTreeFileTest, HundredThousandLevelsInOneLine) {
    const std::string indent(100000, '\t');
    ThreadTree tree;
    // A first line at any level is a root.
    ReadTreeDat(indent + "1001:a\r\n", tree);
    EXPECT_EQ(Outline(tree.PreOrder()), std::vector<std::string>({"1001:a"}));
    ThreadTree deeper;
    EXPECT_THROW(ReadTreeDat("1001:a\r\n" + indent + "1002:b\r\n", deeper), TreeLevelError);
    EXPECT_EQ(deeper.PreOrder().size(), 1u);
}

TEST(BadSettingsTest, TenThousandByteValues) {
    TempFolder folder;
    const std::string path = folder / "Teluri.ini";
    const std::string value(10000, 'x');
    WriteFile(path, "[Option]\r\nPath=" + value + "\r\n");
    SettingsFile ini(path);
    EXPECT_EQ(ini.ReadText("Option", "Path", ""), value.substr(0, 1023));
    // A value a read would give back cut is not written: the file stays.
    const std::string message = "値が長すぎるため " + path + " に書き込めません";
    const auto tooLong =
        test::Thrown<SettingTooLongError>([&] { ini.WriteText("Option", "Path", value); });
    ASSERT_TRUE(tooLong);
    EXPECT_EQ(tooLong->what(), message);
    EXPECT_TRUE(test::Thrown<SettingTooLongError>(
        [&] { ini.WriteText("Font", "Size", std::string(1024, '9')); }));
    EXPECT_EQ(test::ReadFile(path), "[Option]\r\nPath=" + value + "\r\n");
    // 1023 bytes come back whole; the long entry is replaced in place.
    ini.WriteText("Option", "Path", value.substr(0, 1023));
    EXPECT_EQ(ini.ReadText("Option", "Path", ""), value.substr(0, 1023));
    ini.WriteText("Option", "Path", "/data/");
    EXPECT_EQ(test::ReadFile(path), "[Option]\r\nPath=/data/\r\n");
}

// Millions of lines: a read and a write need memory of the order of the
// file, never a record per line, and time linear in it.
TEST(BadSettingsTest, MillionsOfEmptyLinesNeedMemoryOfTheFilesSize) {
    TempFolder folder;
    const std::string path = folder / "Teluri.ini";
    const std::size_t lines = 5'000'000;
    std::string content = "[Font]\r\nSize=12\r\n";
    content.append(lines * 2, '\n');
    content += "[Option]\r\nPath=/data/\r\n";
    WriteFile(path, content);
    const std::size_t bound =
        6 * content.size() + (test::UnderAddressSanitizer() ? 512 : 64) * (1u << 20);
    SettingsFile ini(path);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_LT(test::PeakMemoryGrowth([&] {
                  EXPECT_EQ(ini.ReadText("Option", "Path", ""), "/data/");
                  EXPECT_EQ(ini.ReadNumber("Font", "Size", 0), 12);
              }),
              bound);
    EXPECT_LT(test::PeakMemoryGrowth([&] {
                  ini.WriteText("Font", "Size", "10");
                  ini.WriteText("Option", "Path", "/other/");
                  ini.WriteText("Window", "Left", "0");
              }),
              bound);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(ini.ReadText("Option", "Path", ""), "/other/");
    // Only the values changed; every empty line stays.
    std::string expected = "[Font]\r\nSize=10\r\n";
    expected.append(lines * 2, '\n');
    expected += "[Option]\r\nPath=/other/\r\n[Window]\r\nLeft=0\r\n";
    EXPECT_EQ(test::ReadFile(path), expected);
}

// A saved tree holds one node a line: more than an analysis run may add is
// refused before anything is read, naming the file, like the run's limit.
TEST(BadTreeFileTest, MoreLinesThanTheNodeLimitAreRefused) {
    std::string content;
    for (std::size_t i = 0; i < kMaxTreeNodes; ++i) {
        content += "1001:a\r\n";
    }
    EXPECT_NO_THROW(CheckTreeDatSize(content, "Tree.dat"));
    content += "1002:b";
    const auto error =
        test::Thrown<TreeTooLargeError>([&] { CheckTreeDatSize(content, "/home/Tree.dat"); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->what(), "ツリーのノードが " + std::to_string(kMaxTreeNodes) +
                                 " 個を超えるため、解析を中止しました");
    EXPECT_EQ(error->File(), "/home/Tree.dat");
}

}  // namespace
}  // namespace teluri

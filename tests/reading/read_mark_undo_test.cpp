#include "reading/read_mark_undo.h"

#include <gtest/gtest.h>

namespace teluri {
namespace {

using Numbers = std::vector<int>;

TEST(ReadMarkUndoTest, AChangeNamesOnlyThePagesWhoseStateChanged) {
    ReadMarks marks;
    marks.MarkRead("/a/", 1002);
    const ReadMarkChange read = SetReadState(marks, "/a/", {1001, 1002, 1003, 1001}, true);
    EXPECT_EQ(read.numbers, Numbers({1001, 1003}));
    EXPECT_TRUE(read.read);
    const ReadMarkChange unread = SetReadState(marks, "/a/", {1003, 1004}, false);
    EXPECT_EQ(unread.numbers, Numbers({1003}));
    EXPECT_FALSE(marks.IsRead("/a/", 1003));
    EXPECT_TRUE(marks.IsRead("/a/", 1001));
}

TEST(ReadMarkUndoTest, UndoOfAThreadMarkedReadLeavesThePagesReadBefore) {
    ReadMarks marks;
    marks.MarkRead("/a/", 1001);
    ReadMarkUndo undo;
    undo.Record(SetReadState(marks, "/a/", {1001, 1002, 1003}, true));
    // A page read by dwelling after the command stays read.
    marks.MarkRead("/a/", 1005);
    const std::optional<ReadMarkChange> undone = undo.Undo(marks);
    ASSERT_TRUE(undone);
    EXPECT_EQ(undone->numbers, Numbers({1002, 1003}));
    EXPECT_FALSE(undone->read);
    EXPECT_EQ(marks.Format(), "[/a/]\r\n1001\r\n1005\r\n");
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_FALSE(undo.Undo(marks));
}

TEST(ReadMarkUndoTest, AllReadOfAWholeFolderIsUndoneInOneStep) {
    ReadMarks marks = ReadMarks::Parse("[/b/]\r\n7\r\n[/a/]\r\n2\r\n");
    Numbers all;
    for (int number = 1; number <= 9000; ++number) {
        all.push_back(number);
    }
    ReadMarkUndo undo;
    undo.Record(SetReadState(marks, "/a/", all, true));
    EXPECT_TRUE(marks.IsRead("/a/", 9000));
    undo.Undo(marks);
    EXPECT_EQ(marks.Format(), "[/b/]\r\n7\r\n[/a/]\r\n2\r\n");
}

TEST(ReadMarkUndoTest, CommandsAreUndoneLatestFirstUpToTheLimit) {
    ReadMarks marks;
    ReadMarkUndo undo;
    // M on a page, M again, then R: three steps back in turn.
    undo.Record(SetReadState(marks, "/a/", {1001}, true));
    undo.Record(SetReadState(marks, "/a/", {1001}, false));
    undo.Record(SetReadState(marks, "/a/", {1002, 1003}, true));
    // A command that changed nothing is no step.
    undo.Record(SetReadState(marks, "/a/", {1002}, true));
    undo.Undo(marks);
    EXPECT_EQ(marks.Format(), "[/a/]\r\n");
    undo.Undo(marks);
    EXPECT_TRUE(marks.IsRead("/a/", 1001));
    undo.Undo(marks);
    EXPECT_FALSE(marks.IsRead("/a/", 1001));
    EXPECT_FALSE(undo.CanUndo());

    // Beyond the limit the oldest steps go.
    for (int i = 0; i < static_cast<int>(ReadMarkUndo::kMaxSteps) + 5; ++i) {
        undo.Record(SetReadState(marks, "/a/", {2000 + i}, true));
    }
    int steps = 0;
    while (undo.Undo(marks)) {
        ++steps;
    }
    EXPECT_EQ(steps, static_cast<int>(ReadMarkUndo::kMaxSteps));
    EXPECT_TRUE(marks.IsRead("/a/", 2004));
    EXPECT_FALSE(marks.IsRead("/a/", 2005));
}

TEST(ReadMarkUndoTest, MarkUnreadLeavesOtherFoldersAndUnknownFolders) {
    ReadMarks marks;
    EXPECT_FALSE(marks.MarkUnread("/x/", 1));
    marks.MarkRead("/a/", 1);
    marks.MarkRead("/b/", 1);
    EXPECT_TRUE(marks.MarkUnread("/a/", 1));
    EXPECT_FALSE(marks.MarkUnread("/a/", 1));
    EXPECT_TRUE(marks.IsRead("/b/", 1));
}

}  // namespace
}  // namespace teluri

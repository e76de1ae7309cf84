// The bookmark list and its file, "Bookmark.dat". A bookmark is one line of
// cp932 bytes: the page number (four digits), one blank, then the name, any
// text without line breaks, also empty. The file holds the lines in menu
// order, each followed by CR LF, and nothing else; it is read with the
// shared line rules and its bytes pass through unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"

namespace teluri {

inline constexpr std::string_view kBookmarkFileName = "Bookmark.dat";

// The list as the menu shows it; duplicates allowed, never sorted.
using BookmarkList = std::vector<std::string>;

// The file's content: every line followed by CR LF.
std::string FormatBookmarkDat(const BookmarkList& lines);

// The lines of the file's content, by the shared line rules: no trimming, an
// empty line is an empty bookmark.
BookmarkList ParseBookmarkDat(std::string_view content);

// The list in the file at `path`, or nothing when there is no such file.
// A file that exists but cannot be read throws IoError "ﾌｧｲﾙ %s は開けません".
std::optional<BookmarkList> ReadBookmarkDat(const std::string& path);

// Moves a file that could not be read out of the way, to `path` +
// ".unreadable" (or ".unreadable1", ".unreadable2" ... when that exists), so
// that writing the list anew loses nothing. Returns the new name. A file
// that cannot be moved throws IoError "ﾌｧｲﾙ %s を作成できません" for `path`.
std::string SetUnreadableFileAside(const std::string& path);

// Replaces the file atomically; a failure leaves the old file intact and
// throws IoError "ﾌｧｲﾙ %s を作成できません". A file holding a NUL byte, after
// which reading stopped, is first copied aside (KeepCopyIfItHoldsNul).
void WriteBookmarkDat(const std::string& path, const BookmarkList& lines);

// The page number a line starts with: its first four bytes. A line written
// for a page below 1000 ("42 name") starts with fewer digits and a blank;
// those digits are its number, so that the name is never cut into.
std::string_view BookmarkNumber(std::string_view line);

// The name: what follows the number and its blank (from the sixth byte on
// for a four-digit number); empty for a line without one.
std::string_view BookmarkName(std::string_view line);

// A new bookmark's line: the page number's decimal text, a blank, the name.
// CR, LF and NUL bytes in the name become blanks: they would split the line
// or end the file's content when it is read back.
std::string MakeBookmarkLine(int number, std::string_view name);

// The line with its name replaced and its number kept.
std::string RetitledBookmarkLine(std::string_view line, std::string_view name);

// The list operations of the bookmark editor. `index` is the selected
// position, -1 for none; each returns the position selected afterwards.
// An empty list makes moves do nothing (-1 returned). A position outside a
// non-empty list throws ListIndexError naming it.
//
// Up: swaps the line with the one above; the first line goes to the end.
int MoveBookmarkUp(BookmarkList& lines, int index);
// Down: swaps the line with the one below; the last line goes to the front.
int MoveBookmarkDown(BookmarkList& lines, int index);
// Replaces the name of the line at `index`; throws for any position outside
// the list, also in an empty list.
void RetitleBookmark(BookmarkList& lines, int index, std::string_view name);

}  // namespace teluri

// The search's files in the program's folder: the history of search texts
// (finddata.txt) and one result log per search text (Find<text>.dat). Both
// are read with the shared line rules and written with CR LF after every
// line.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "search/page_search.h"

namespace teluri {

inline constexpr std::string_view kHistoryFileName = "finddata.txt";

// "finddata.txt" in the program's folder.
std::string HistoryFilePath();

// Puts `text` at the top of the history unless an entry equals it with
// letters compared without regard to case; such an entry keeps its place
// and its own letter case. True when the text was added.
bool AddToHistory(std::vector<std::string>& history, std::string_view text);

// The bytes of the history file: one entry per line, top first.
std::string FormatHistory(const std::vector<std::string>& history);

// The entries of a history file's content: every line, an empty one too.
std::vector<std::string> ParseHistory(std::string_view content);

// Writes the history file in the program's folder; a file holding a NUL
// byte, after which reading stopped, is first copied aside
// (KeepCopyIfItHoldsNul). Returns the error of a refused write.
std::error_code WriteHistory(const std::vector<std::string>& history);

// The file name part of a search text: the text as UTF-8, the file system's
// encoding, with every character that a file name cannot hold or that
// would lead out of the folder written as "%XX" per byte: the path
// separators "/" and "\", control characters, : * ? " < > | and "%" itself,
// so that different texts never share a name. A byte sequence without a
// cp932 character is written as "%XX" per byte as well.
std::string EncodeLogName(std::string_view text);

// "Find" + EncodeLogName(text) + ".dat": a name that can be neither "." nor
// ".." and holds no separator. Letter case is kept: a log belongs to its
// exact text.
std::string SearchLogName(std::string_view text);

// The log's path in the program's folder.
std::string SearchLogPath(std::string_view text);

// The bytes of a log: per hit its title, its number and its kind text, one
// line each. HitRows (search/hit_rows.h) reads them back.
std::string FormatSearchLog(const std::vector<SearchHit>& hits);

// Writes the log of `text` to the program's folder; a refused write throws
// IoError "ﾌｧｲﾙ %s を作成できません" naming the log file.
void WriteSearchLog(std::string_view text, const std::vector<SearchHit>& hits);

}  // namespace teluri

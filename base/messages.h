// The program's own message texts, shared by every subsystem. "%s" stands
// for the one argument each takes; see Format().
#pragma once

#include <string>
#include <string_view>

namespace teluri::msg {

inline constexpr std::string_view kNotAnInteger = "'%s' は整数ではありません";
inline constexpr std::string_view kCannotCreateFile = "ﾌｧｲﾙ %s を作成できません";
inline constexpr std::string_view kCannotOpenFile = "ﾌｧｲﾙ %s は開けません";
inline constexpr std::string_view kCannotOpenFolder = "ﾌｫﾙﾀﾞ %s は開けません";
inline constexpr std::string_view kRecentFolderGone =
    "ﾌｫﾙﾀﾞ %s はありません。最近使ったフォルダの一覧から削除しました";
inline constexpr std::string_view kCannotWriteSettings = "%s に書き込めません";
inline constexpr std::string_view kSettingTooLong = "値が長すぎるため %s に書き込めません";
inline constexpr std::string_view kCannotWriteOutput = "標準出力に書き込めません";
inline constexpr std::string_view kListIndexOutOfBounds = "ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています (%s)";

// Replaces the first "%s" of the template by the argument.
std::string Format(std::string_view pattern, std::string_view argument);

}  // namespace teluri::msg

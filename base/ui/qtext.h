// Conversions at the widget boundary: page texts stay cp932 bytes until a
// widget shows them; paths are in the file system's encoding.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace teluri {

// The program's own texts, written in UTF-8 in the source.
inline QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// cp932 bytes for display; bytes that do not convert become U+FFFD.
QString FromCp932(std::string_view bytes);

// The part of a one-line cp932 text that a window shows (ShownPart),
// decoded; a text cut short ends with "…".
QString ShownText(std::string_view bytes);

// Exact: throws EncodingError for text without a cp932 form.
std::string ToCp932(const QString& text);

// Paths between the file system's encoding and QString.
QString FromLocalPath(const std::string& path);
std::string ToLocalPath(const QString& path);

}  // namespace teluri

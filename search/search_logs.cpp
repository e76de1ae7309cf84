#include "search/search_logs.h"

#include <cstdio>

#include "base/bytes.h"
#include "base/cp932.h"
#include "base/errors.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/messages.h"
#include "base/paths.h"

namespace teluri {
namespace {

constexpr std::string_view kLogPrefix = "Find";
constexpr std::string_view kLogExtension = ".dat";
constexpr std::string_view kNotInFileNames = "/\\:*?\"<>|%";

void AppendEscaped(std::string& name, std::string_view bytes) {
    for (const char c : bytes) {
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
        name += escaped;
    }
}

// The UTF-8 form of one non-ASCII cp932 character, or nothing when the bytes
// are no character, convert to a control character, or are another byte
// form of a character that has its own canonical cp932 form (the duplicate
// codes of the NEC and IBM extensions), so that two texts never share a name.
std::optional<std::string> Utf8OfCharacter(std::string_view bytes) {
    std::string utf8 = Cp932ToUtf8(bytes);
    for (const char c : utf8) {
        if (static_cast<unsigned char>(c) < 0x80) {
            return std::nullopt;
        }
    }
    const bool c1Control = utf8.size() == 2 && static_cast<unsigned char>(utf8[0]) == 0xC2 &&
                           static_cast<unsigned char>(utf8[1]) < 0xA0;
    if (c1Control) {
        return std::nullopt;
    }
    try {
        if (Utf8ToCp932(utf8) != bytes) {
            return std::nullopt;
        }
    } catch (const EncodingError&) {
        return std::nullopt;  // U+FFFD: the bytes were no character
    }
    return utf8;
}

}  // namespace

std::string HistoryFilePath() {
    return ProgramFile(kHistoryFileName);
}

bool AddToHistory(std::vector<std::string>& history, std::string_view text) {
    for (const std::string& entry : history) {
        if (SameTextCp932(entry, text)) {
            return false;
        }
    }
    history.insert(history.begin(), std::string(text));
    return true;
}

std::string FormatHistory(const std::vector<std::string>& history) {
    return JoinLines(history);
}

std::vector<std::string> ParseHistory(std::string_view content) {
    return SplitLines(content);
}

std::error_code WriteHistory(const std::vector<std::string>& history) {
    return WriteListFile(HistoryFilePath(), history);
}

std::string EncodeLogName(std::string_view text) {
    const LeadByteSet& leadBytes = Cp932LeadBytes();
    std::string name;
    name.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            const bool control = byte < 0x20 || byte == 0x7F;
            if (control || kNotInFileNames.find(text[i]) != std::string_view::npos) {
                AppendEscaped(name, text.substr(i, 1));
            } else {
                name += text[i];
            }
            ++i;
            continue;
        }
        const std::size_t length = leadBytes.test(byte) && i + 1 < text.size() ? 2 : 1;
        const std::string_view character = text.substr(i, length);
        if (const auto utf8 = Utf8OfCharacter(character)) {
            name += *utf8;
        } else {
            AppendEscaped(name, character);
        }
        i += length;
    }
    return name;
}

std::string SearchLogName(std::string_view text) {
    std::string name(kLogPrefix);
    name += EncodeLogName(text);
    name += kLogExtension;
    return name;
}

std::string SearchLogPath(std::string_view text) {
    return ProgramFile(SearchLogName(text));
}

std::string FormatSearchLog(const std::vector<SearchHit>& hits) {
    std::string bytes;
    for (const SearchHit& hit : hits) {
        bytes += hit.title;
        bytes += "\r\n";
        bytes += hit.number;
        bytes += "\r\n";
        bytes += KindText(hit.kind);
        bytes += "\r\n";
    }
    return bytes;
}

void WriteSearchLog(std::string_view text, const std::vector<SearchHit>& hits) {
    const std::string path = SearchLogPath(text);
    if (WriteFileAtomically(path, FormatSearchLog(hits))) {
        throw IoError(msg::Format(msg::kCannotCreateFile, path));
    }
}

}  // namespace teluri

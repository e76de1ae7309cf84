#include "settings/settings_file.h"

#include <optional>

#include "base/bytes.h"
#include "base/errors.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/messages.h"
#include "base/paths.h"
#include "base/strtoint.h"

namespace teluri {
namespace {

// One line of the file: where it stands and what it holds.
struct IniLine {
    std::size_t end = 0;   // one past the last byte before the line end
    std::size_t next = 0;  // first byte of the next line
    enum Kind { kOther, kBlank, kSection, kEntry } kind = kOther;
    std::string_view name;       // section or key name, trimmed
    std::string_view value;      // entry value, trimmed
    std::size_t valueStart = 0;  // where the value's bytes stand in the content
};

IniLine ParseLine(std::string_view content, std::string_view text) {
    IniLine line;
    line.end = static_cast<std::size_t>(text.data() - content.data()) + text.size();
    line.next = line.end;
    if (line.next < content.size() && content[line.next] == '\r') {
        ++line.next;
        if (line.next < content.size() && content[line.next] == '\n') {
            ++line.next;
        }
    } else if (line.next < content.size() && content[line.next] == '\n') {
        ++line.next;
    }
    const std::string_view trimmed = TrimBlanks(text);
    const auto equals = trimmed.find('=');
    if (trimmed.empty()) {
        line.kind = IniLine::kBlank;
    } else if (trimmed.front() == '[' && trimmed.find(']') != std::string_view::npos) {
        line.kind = IniLine::kSection;
        line.name = TrimBlanks(trimmed.substr(1, trimmed.find(']') - 1));
    } else if (trimmed.front() != ';' && equals != std::string_view::npos) {
        line.kind = IniLine::kEntry;
        line.name = TrimBlanks(trimmed.substr(0, equals));
        const std::string_view afterEquals = trimmed.substr(equals + 1);
        line.value = TrimBlanks(afterEquals);
        // An empty value stands right after the "=".
        const char* valueAt = line.value.empty() ? afterEquals.data() : line.value.data();
        line.valueStart = static_cast<std::size_t>(valueAt - content.data());
    }
    return line;
}

// What one pass over the lines finds of an entry: the first section of the
// name, its first entry of the key and its last line that is not blank. The
// lines are looked at one by one and none is kept, so that a file of
// millions of lines needs no memory beyond its content.
struct EntrySearch {
    bool sectionFound = false;
    std::optional<IniLine> entry;
    IniLine lastLine;  // of the section: its header or its last non-blank line
};

// Names are matched with blanks around them removed, as the file's names are.
EntrySearch FindEntry(std::string_view content, std::string_view section, std::string_view key) {
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    EntrySearch search;
    enum { kBefore, kInside, kAfter } where = kBefore;
    ForEachLine(content, [&](std::string_view text) {
        if (where == kAfter) {
            return;
        }
        const IniLine line = ParseLine(content, text);
        if (where == kBefore) {
            if (line.kind == IniLine::kSection && SameTextCp932(line.name, section)) {
                where = kInside;
                search.sectionFound = true;
                search.lastLine = line;
            }
            return;
        }
        if (line.kind == IniLine::kSection) {
            where = kAfter;
            return;
        }
        if (line.kind != IniLine::kBlank) {
            search.lastLine = line;
        }
        if (!search.entry && line.kind == IniLine::kEntry && SameTextCp932(line.name, key)) {
            search.entry = line;
        }
    });
    return search;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

std::string SettingsFilePath() {
    return ProgramFile(kSettingsFileName);
}

std::string SettingsFile::ReadText(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
    std::optional<std::string> content;
    try {
        content = ReadFileIfExists(fileName_);
    } catch (const IoError&) {
        return std::string(defaultValue);  // an unreadable file reads as missing
    }
    if (!content) {
        return std::string(defaultValue);
    }
    const EntrySearch search = FindEntry(*content, section, key);
    if (!search.entry) {
        return std::string(defaultValue);
    }
    return std::string(search.entry->value.substr(0, kMaxSettingsValueLength));
}

int SettingsFile::ReadNumber(std::string_view section, std::string_view key,
                             int defaultValue) const {
    std::string text = ReadText(section, key, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text = "$" + text.substr(2);
    }
    return TryStrToInt(text).value_or(defaultValue);
}

bool SettingsFile::ReadFlag(std::string_view section, std::string_view key,
                            bool defaultValue) const {
    return ReadNumber(section, key, defaultValue ? 1 : 0) != 0;
}

void SettingsFile::WriteText(std::string_view section, std::string_view key,
                             std::string_view value) {
    const auto refuse = [this] {
        return IoError(msg::Format(msg::kCannotWriteSettings, fileName_));
    };
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    // A name or value that would not read back as the same entry (a line
    // break, a "]" in a section name, a "=" in a key, a key that reads as a
    // comment) is refused rather than written as other entries.
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) ||
        section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos ||
        section.empty() || key.empty() || key.front() == ';' || key.front() == '[') {
        throw refuse();
    }
    // A read gives back at most kMaxSettingsValueLength bytes: a longer
    // value would come back cut, so it is not written at all.
    if (value.size() > kMaxSettingsValueLength) {
        throw SettingTooLongError(msg::Format(msg::kSettingTooLong, fileName_));
    }
    std::string content;
    try {
        content = ReadFileIfExists(fileName_).value_or("");
    } catch (const IoError&) {
        throw refuse();
    }
    // What follows a NUL byte is no part of the settings, but it stays in
    // the file: only the text before it is read and changed.
    const std::size_t textEnd = ContentBeforeNul(content).size();
    const EntrySearch search =
        FindEntry(std::string_view(content).substr(0, textEnd), section, key);
    const std::string entryText = std::string(key) + "=" + std::string(value);

    if (!search.sectionFound) {
        const bool endsLine =
            textEnd == 0 || content[textEnd - 1] == '\n' || content[textEnd - 1] == '\r';
        content.insert(textEnd, (endsLine ? "" : "\r\n") + ("[" + std::string(section) + "]\r\n") +
                                    entryText + "\r\n");
    } else if (search.entry) {
        // Only the value's bytes change: the line keeps its indentation, its
        // own spelling of the key, the blanks around "=" and its line end.
        content.replace(search.entry->valueStart, search.entry->value.size(), value);
    } else {
        // After the section's last line that is not blank, so that blank
        // lines before the next section stay where they are.
        const IniLine& line = search.lastLine;
        const std::string lineEnd = line.next == line.end ? "\r\n" : "";
        content.insert(line.next, lineEnd + entryText + "\r\n");
    }
    if (WriteFileAtomically(fileName_, content)) {
        throw refuse();
    }
}

void SettingsFile::WriteNumber(std::string_view section, std::string_view key, int value) {
    WriteText(section, key, std::to_string(value));
}

void SettingsFile::WriteFlag(std::string_view section, std::string_view key, bool value) {
    WriteText(section, key, value ? "1" : "0");
}

}  // namespace teluri

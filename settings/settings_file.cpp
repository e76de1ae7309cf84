#include "settings/settings_file.h"

#include <optional>
#include <vector>

#include "base/bytes.h"
#include "base/errors.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/messages.h"
#include "base/paths.h"
#include "base/strtoint.h"

namespace teluri {
namespace {

constexpr std::size_t kMaxValueLength = 1023;

// One line of the file: where it stands and what it holds.
struct IniLine {
    std::size_t start = 0;  // first byte
    std::size_t end = 0;    // one past the last byte before the line end
    std::size_t next = 0;   // first byte of the next line
    enum Kind { kOther, kBlank, kSection, kEntry } kind = kOther;
    std::string_view name;       // section or key name, trimmed
    std::string_view value;      // entry value, trimmed
    std::size_t valueStart = 0;  // where the value's bytes stand in the content
};

std::vector<IniLine> ParseLines(std::string_view content) {
    std::vector<IniLine> lines;
    ForEachLine(content, [&](std::string_view text) {
        IniLine line;
        line.start = static_cast<std::size_t>(text.data() - content.data());
        line.end = line.start + text.size();
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
        lines.push_back(line);
    });
    return lines;
}

// The lines of a section: [header, end) indexes, or nothing.
struct SectionRange {
    std::size_t header;
    std::size_t end;
};

// Names are matched with blanks around them removed, as the file's names are.
std::optional<SectionRange> FindSection(const std::vector<IniLine>& lines,
                                        std::string_view section) {
    section = TrimBlanks(section);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == IniLine::kSection && SameTextCp932(lines[i].name, section)) {
            std::size_t end = i + 1;
            while (end < lines.size() && lines[end].kind != IniLine::kSection) {
                ++end;
            }
            return SectionRange{i, end};
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> FindEntry(const std::vector<IniLine>& lines, const SectionRange& range,
                                     std::string_view key) {
    key = TrimBlanks(key);
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        if (lines[i].kind == IniLine::kEntry && SameTextCp932(lines[i].name, key)) {
            return i;
        }
    }
    return std::nullopt;
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
    const std::vector<IniLine> lines = ParseLines(*content);
    const auto range = FindSection(lines, section);
    if (!range) {
        return std::string(defaultValue);
    }
    const auto entry = FindEntry(lines, *range, key);
    if (!entry) {
        return std::string(defaultValue);
    }
    return std::string(lines[*entry].value.substr(0, kMaxValueLength));
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
    std::string content;
    try {
        content = ReadFileIfExists(fileName_).value_or("");
    } catch (const IoError&) {
        throw refuse();
    }
    // What follows a NUL byte is no part of the settings, but it stays in
    // the file: only the text before it is read and changed.
    const std::size_t textEnd = ContentBeforeNul(content).size();
    const std::vector<IniLine> lines = ParseLines(std::string_view(content).substr(0, textEnd));
    const std::string entryText = std::string(key) + "=" + std::string(value);

    const auto range = FindSection(lines, section);
    if (!range) {
        const bool endsLine =
            textEnd == 0 || content[textEnd - 1] == '\n' || content[textEnd - 1] == '\r';
        content.insert(textEnd, (endsLine ? "" : "\r\n") + ("[" + std::string(section) + "]\r\n") +
                                    entryText + "\r\n");
    } else if (const auto entry = FindEntry(lines, *range, key)) {
        // Only the value's bytes change: the line keeps its indentation, its
        // own spelling of the key, the blanks around "=" and its line end.
        const IniLine& line = lines[*entry];
        content.replace(line.valueStart, line.value.size(), value);
    } else {
        // After the section's last line that is not blank, so that blank
        // lines before the next section stay where they are.
        std::size_t last = range->header;
        for (std::size_t i = range->header + 1; i < range->end; ++i) {
            if (lines[i].kind != IniLine::kBlank) {
                last = i;
            }
        }
        const IniLine& line = lines[last];
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

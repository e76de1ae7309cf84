#include "search/hit_context.h"

#include <algorithm>

#include "base/bytes.h"
#include "base/lines.h"
#include "htmlview/plain_text.h"
#include "search/text_match.h"

namespace teluri {
namespace {

// For each byte of a cp932 line, and its end: whether a character starts
// there.
std::vector<char> CharacterStarts(std::string_view line) {
    const LeadByteSet& leadBytes = Cp932LeadBytes();
    std::vector<char> starts(line.size() + 1, 0);
    std::size_t at = 0;
    while (at < line.size()) {
        starts[at] = 1;
        at += leadBytes[static_cast<unsigned char>(line[at])] ? 2 : 1;
    }
    starts[line.size()] = 1;  // a lead byte at the very end counts as one character
    return starts;
}

ContextLine LineWithMarks(std::string_view line, const std::vector<std::size_t>& offsets,
                          std::size_t length) {
    const std::vector<char> starts = CharacterStarts(line);
    const auto startBefore = [&starts](std::size_t at) {
        while (at > 0 && !starts[at]) {
            --at;
        }
        return at;
    };
    const auto startAfter = [&starts, &line](std::size_t at) {
        at = std::min(at, line.size());
        while (!starts[at]) {
            ++at;
        }
        return at;
    };
    std::size_t from = 0;
    std::size_t to = line.size();
    const std::size_t first = startBefore(offsets.front());
    if (line.size() > kContextLineBytes) {
        from = startBefore(first > kContextBytesBefore ? first - kContextBytesBefore : 0);
        to = startAfter(std::max(from + kContextLineBytes, first + length));
    }
    ContextLine context;
    context.text = std::string(line.substr(from, to - from));
    context.cutBefore = from > 0;
    context.cutAfter = to < line.size();
    for (const std::size_t at : offsets) {
        const std::size_t begin = startBefore(at);
        const std::size_t end = startAfter(at + length);
        if (begin >= from && end <= to) {
            context.marks.emplace_back(begin - from, end - from);
        }
    }
    return context;
}

}  // namespace

std::vector<ContextLine> HitContext(std::string_view content, std::string_view text,
                                    std::size_t maxLines) {
    std::vector<ContextLine> lines;
    const std::string needle = MatchForm(text);
    if (needle.empty()) {
        return lines;
    }
    content = ContentBeforeNul(content);
    const std::size_t firstLineEnd = content.find_first_of("\r\n");
    if (firstLineEnd == std::string_view::npos) {
        return lines;
    }
    ForEachLine(PlainText(content.substr(firstLineEnd)), [&](std::string_view line) {
        if (lines.size() >= maxLines) {
            return;
        }
        line = TrimBlanks(line);
        const std::vector<std::size_t> offsets = FindEveryText(MatchForm(line), needle);
        if (!offsets.empty()) {
            lines.push_back(LineWithMarks(line, offsets, needle.size()));
        }
    });
    return lines;
}

}  // namespace teluri

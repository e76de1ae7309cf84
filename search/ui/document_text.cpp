#include "search/ui/document_text.h"

#include <QTextBlock>
#include <QTextDocument>

#include <unordered_map>

#include "base/cp932.h"
#include "base/errors.h"
#include "base/ui/qtext.h"
#include "search/text_match.h"

namespace teluri {
namespace {

// The cp932 bytes of one character, or a NUL byte for a character without
// a cp932 form. Pages repeat a few hundred characters: each is converted
// once.
const std::string& CharacterBytes(char32_t code, std::u16string_view units) {
    thread_local std::unordered_map<char32_t, std::string> known;
    const auto found = known.find(code);
    if (found != known.end()) {
        return found->second;
    }
    std::string bytes;
    try {
        bytes = Utf16ToCp932(units);
    } catch (const EncodingError&) {
        bytes.assign(1, '\0');
    }
    return known.emplace(code, std::move(bytes)).first->second;
}

}  // namespace

std::string NeedleOf(const QString& text) {
    try {
        return MatchForm(ToCp932(text));
    } catch (const EncodingError&) {
        return {};
    }
}

DocumentText::DocumentText(const QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin()) {
            const int end = block.position();
            Append("\n", end - 1, end);
        }
        const QString text = block.text();
        const auto* units = reinterpret_cast<const char16_t*>(text.utf16());
        const int size = static_cast<int>(text.size());
        for (int i = 0; i < size;) {
            const int start = block.position() + i;
            const char16_t unit = units[i];
            if (unit < 0x80) {
                const char byte = static_cast<char>(unit);
                Append(std::string_view(&byte, 1), start, start + 1);
                ++i;
                continue;
            }
            const bool pair =
                QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(units[i + 1]);
            const int length = pair ? 2 : 1;
            const char32_t code = pair ? QChar::surrogateToUcs4(unit, units[i + 1]) : unit;
            Append(CharacterBytes(code, std::u16string_view(units + i, length)), start,
                   start + length);
            i += length;
        }
    }
    bytes_ = MatchForm(bytes_);
}

void DocumentText::Append(std::string_view bytes, int start, int end) {
    bytes_ += bytes;
    starts_.insert(starts_.end(), bytes.size(), start);
    ends_.insert(ends_.end(), bytes.size(), end);
}

std::vector<HighlightRange> DocumentText::Find(std::string_view needle) const {
    std::vector<HighlightRange> ranges;
    for (const std::size_t at : FindEveryText(bytes_, needle)) {
        ranges.emplace_back(starts_[at], ends_[at + needle.size() - 1]);
    }
    return ranges;
}

}  // namespace teluri

#include "base/display_text.h"

#include "base/bytes.h"

namespace teluri {

std::string_view LeadingCp932(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return text;
    }
    const LeadByteSet& leadBytes = Cp932LeadBytes();
    std::size_t end = 0;
    while (end < limit) {
        const std::size_t width = leadBytes[static_cast<unsigned char>(text[end])] ? 2 : 1;
        if (end + width > limit) {
            break;
        }
        end += width;
    }
    return text.substr(0, end);
}

std::string_view ShownPart(std::string_view text) {
    return LeadingCp932(text, kShownTextBytes);
}

}  // namespace teluri

#include "htmlview/page_markup.h"

#include <cctype>

namespace teluri {
namespace {

constexpr std::string_view kRuleEnd = "<div></div>";

// True when a tag named "hr" starts at `at` ("<hr>", "<hr noshade>", "<HR/>").
bool IsRuleTag(std::string_view markup, std::size_t at) {
    if (at + 3 >= markup.size() ||
        std::tolower(static_cast<unsigned char>(markup[at + 1])) != 'h' ||
        std::tolower(static_cast<unsigned char>(markup[at + 2])) != 'r') {
        return false;
    }
    const char after = markup[at + 3];
    return after == '>' || after == '/' || std::isspace(static_cast<unsigned char>(after));
}

}  // namespace

std::string NormalisePageMarkup(std::string_view markup) {
    std::string result;
    result.reserve(markup.size() + 64);
    std::size_t copied = 0;
    for (std::size_t at = markup.find('<'); at != std::string_view::npos;
         at = markup.find('<', at + 1)) {
        if (!IsRuleTag(markup, at)) {
            continue;
        }
        const std::size_t close = markup.find('>', at);
        if (close == std::string_view::npos) {
            break;
        }
        result.append(markup.substr(copied, close + 1 - copied));
        result.append(kRuleEnd);
        copied = close + 1;
        at = close;
    }
    result.append(markup.substr(copied));
    return result;
}

}  // namespace teluri

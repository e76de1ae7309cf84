#include "reading/link_target.h"

#include <algorithm>

#include "base/bytes.h"
#include "base/paths.h"

namespace teluri {
namespace {

constexpr std::string_view kBoardScript = "view3.cgi?";
constexpr std::string_view kPageExtension = ".msg";
constexpr std::size_t kNumberSize = 4;

// `lowerPrefix` is in lower case.
bool StartsWithNoCase(std::string_view text, std::string_view lowerPrefix) {
    return AsciiLowerCase(text.substr(0, lowerPrefix.size())) == lowerPrefix;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

LinkTarget LinkTargetOf(std::string_view href) {
    if (href.size() >= kBoardScript.size() + kNumberSize &&
        href.substr(href.size() - kNumberSize - kBoardScript.size(), kBoardScript.size()) ==
            kBoardScript) {
        const std::string_view number = href.substr(href.size() - kNumberSize);
        if (!NamesPageFile(number)) {
            return {};
        }
        return {LinkTarget::Kind::kBoardPage, std::string(number)};
    }
    if (!href.empty() && href.front() == '#') {
        return {LinkTarget::Kind::kAnchor, std::string(href.substr(1))};
    }
    if (StartsWithNoCase(href, "http:") || StartsWithNoCase(href, "https:")) {
        return {LinkTarget::Kind::kWeb, std::string(href)};
    }
    return {};
}

std::string FolderOfPath(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::optional<std::string> PageNumberOfPath(std::string_view path) {
    const std::string_view name = path.substr(FolderOfPath(path).size());
    if (name.size() != kNumberSize + kPageExtension.size() ||
        !StartsWithNoCase(name.substr(kNumberSize), kPageExtension)) {
        return std::nullopt;
    }
    return std::string(name.substr(0, kNumberSize));
}

std::optional<int> PageNumberValue(std::string_view number) {
    if (number.empty() || number.size() > 9 ||
        !std::all_of(number.begin(), number.end(), IsDigit)) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : number) {
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace teluri

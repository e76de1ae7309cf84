#include "analysis/htmlanl.h"

#include <optional>

#include "base/cp932.h"
#include "base/errors.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/strtoint.h"

namespace teluri {
namespace {

constexpr std::size_t kNumberLength = 4;
constexpr std::size_t kNumberOffset = 17;  // byte 18, 1-based
constexpr std::size_t kTitleOffset = 48;   // byte 49, 1-based
constexpr std::string_view kTitleEnd = "</font><hr noshade>";

// A link pattern: a Japanese lead-in, "[<a href=", a double quote and the
// target up to the query's question mark. The message number follows it.
std::string LinkPattern(std::string_view leadIn, bool absolute) {
    std::string pattern = Utf8ToCp932(leadIn) + "[<a href=\"";
    if (absolute) {
        pattern += "http://";
        pattern += kBoardHostPath;
        pattern += "/view3.cgi?";
    } else {
        pattern += "./view3.cgi?";
    }
    return pattern;
}

struct LinkPatterns {
    std::string parentAbsolute = LinkPattern("このコメントは", true);
    std::string parentRelative = LinkPattern("このコメントは", false);
    std::string replyAbsolute = LinkPattern("この記事には", true);
    std::string replyRelative = LinkPattern("この記事には", false);
};

const LinkPatterns& Patterns() {
    static const LinkPatterns patterns;
    return patterns;
}

// Finds `pattern` in `text` from positions that only grow, remembering the
// last hit so that a text without the pattern is scanned once, not once per
// call.
class ForwardFinder {
  public:
    ForwardFinder(std::string_view text, std::string_view pattern)
        : text_(text), pattern_(pattern) {}

    std::size_t FindFrom(std::size_t from) {
        if (hit_ != std::string_view::npos && hit_ < from) {
            hit_ = text_.find(pattern_, from);
        } else if (!searched_) {
            hit_ = text_.find(pattern_, from);
        }
        searched_ = true;
        return hit_;
    }

  private:
    std::string_view text_;
    std::string_view pattern_;
    std::size_t hit_ = std::string_view::npos;
    bool searched_ = false;
};

}  // namespace

bool THtmlAnl::Load(const std::string& fileName) {
    std::optional<std::string> content;
    try {
        content = ReadFileIfExists(fileName);
    } catch (const IoError&) {
        fileName_ = fileName;
        throw;
    }
    if (!content) {
        return false;
    }
    fileName_ = fileName;
    text_ = WholeText(*content);
    content.reset();
    CollectReplies();
    return true;
}

std::string_view THtmlAnl::FirstLine() const {
    const std::string_view text(text_);
    return text.substr(0, text.find("\r\n"));
}

int THtmlAnl::GetNumber() const {
    if (!HasLines()) {
        return -1;
    }
    const std::string_view line = FirstLine();
    const std::string_view digits = line.size() > kNumberOffset
                                        ? line.substr(kNumberOffset, kNumberLength)
                                        : std::string_view();
    return StrToInt(digits);
}

int THtmlAnl::GetParentNumber() const {
    if (!HasLines()) {
        return -1;
    }
    const std::string_view text(text_);
    const LinkPatterns& patterns = Patterns();
    std::size_t at = text.find(patterns.parentAbsolute);
    std::size_t length = patterns.parentAbsolute.size();
    if (at == std::string_view::npos) {
        at = text.find(patterns.parentRelative);
        length = patterns.parentRelative.size();
    }
    if (at == std::string_view::npos) {
        return -1;
    }
    return StrToInt(text.substr(at + length, kNumberLength));
}

std::string THtmlAnl::GetTitle() const {
    if (!HasLines()) {
        return {};
    }
    const std::string_view line = FirstLine();
    if (line.size() <= kTitleOffset) {
        return {};
    }
    const std::size_t end = line.find(kTitleEnd, kTitleOffset);
    if (end == std::string_view::npos) {
        return {};
    }
    return std::string(line.substr(kTitleOffset, end - kTitleOffset));
}

void THtmlAnl::CollectReplies() {
    replies_.clear();
    const std::string_view text(text_);
    const LinkPatterns& patterns = Patterns();
    // In every pass the absolute form is looked for first in the whole rest
    // of the text; only when it is absent there does the relative form count.
    ForwardFinder absolute(text, patterns.replyAbsolute);
    ForwardFinder relative(text, patterns.replyRelative);
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t at = absolute.FindFrom(from);
        std::size_t length = patterns.replyAbsolute.size();
        if (at == std::string_view::npos) {
            at = relative.FindFrom(from);
            length = patterns.replyRelative.size();
        }
        if (at == std::string_view::npos) {
            break;
        }
        replies_.emplace_back(text.substr(at + length, kNumberLength));
        from = at + length + kNumberLength;
    }
}

}  // namespace teluri

#include "analysis/page_reader.h"

#include <algorithm>
#include <cstring>
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
constexpr std::string_view kTitleEnd = "</font><hr noshade>";

// A link pattern is a Japanese lead-in, the link opening "[<a href=" with a
// double quote, and the target up to the query's question mark; the message
// number follows it.
constexpr std::string_view kLinkOpen = "[<a href=\"";
constexpr std::string_view kRelativeTarget = "./view3.cgi?";

struct LinkParts {
    std::string parentLeadIn = Utf8ToCp932("このコメントは");
    std::string replyLeadIn = Utf8ToCp932("この記事には");
    std::string absoluteTarget = "http://" + std::string(kBoardHostPath) + "/view3.cgi?";
};

const LinkParts& Parts() {
    static const LinkParts parts;
    return parts;
}

bool IsLineEnd(char byte) {
    return byte == '\r' || byte == '\n';
}

// The page's whole text is never built: the fields are taken from the
// content itself. The link patterns hold no line-end byte, so they occur in
// the content where they occur in the whole text, line by line, in the same
// order; only the bytes after a link may reach into a line end, and those
// are taken as the whole text has them.
//
// `count` bytes of the whole text from content position `at`, which starts
// a line or stands inside one; `at` moves past the content bytes they come
// from (a line end entirely).
std::string WholeTextBytes(std::string_view content, std::size_t& at, std::size_t count) {
    std::string bytes;
    while (bytes.size() < count) {
        if (at >= content.size()) {
            // The whole text closes a last line that has no line end.
            if (!content.empty() && !IsLineEnd(content.back())) {
                bytes.append("\r\n", std::min<std::size_t>(2, count - bytes.size()));
            }
            break;
        }
        const char byte = content[at];
        if (!IsLineEnd(byte)) {
            bytes += byte;
            ++at;
            continue;
        }
        // CR LF, a lone CR and a lone LF each end a line with CR LF.
        at += byte == '\r' && at + 1 < content.size() && content[at + 1] == '\n' ? 2 : 1;
        bytes.append("\r\n", std::min<std::size_t>(2, count - bytes.size()));
    }
    return bytes;
}

// The link opening in `text` at `from` or later. A page holds few "[" bytes
// (in cp932 also the second byte of some characters, "ー" among them), so a
// scan for that byte, many bytes at a step, and a look at the bytes after
// each one is faster than a search for the whole opening.
std::size_t FindLinkOpen(std::string_view text, std::size_t from) {
    while (from < text.size()) {
        const void* hit = std::memchr(text.data() + from, kLinkOpen.front(), text.size() - from);
        if (hit == nullptr) {
            break;
        }
        const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        if (text.substr(at).starts_with(kLinkOpen)) {
            return at;
        }
        from = at + 1;
    }
    return std::string_view::npos;
}

// One occurrence of a link pattern in a page.
struct Link {
    bool parent = false;    // the parent lead-in, else the reply lead-in
    bool absolute = false;  // the absolute target, else the relative one
    std::size_t start = 0;  // where the pattern starts
    std::size_t end = 0;    // where the number after it starts
};

// Every occurrence of the four link patterns, in the order of their starts.
// One pass looks for the link opening, which all four share, and the bytes
// around each opening tell which pattern, if any, stands there. The
// patterns cannot overlap each other or themselves (the opening holds the
// only "[" and each target ends with the only "?"), so these are exactly
// the occurrences that a search for each pattern alone would find.
void FindLinks(std::string_view content, std::vector<Link>& links) {
    const LinkParts& parts = Parts();
    links.clear();
    for (std::size_t open = FindLinkOpen(content, 0); open != std::string_view::npos;
         open = FindLinkOpen(content, open + kLinkOpen.size())) {
        const std::string_view before = content.substr(0, open);
        Link link;
        if (before.ends_with(parts.parentLeadIn)) {
            link.parent = true;
            link.start = open - parts.parentLeadIn.size();
        } else if (before.ends_with(parts.replyLeadIn)) {
            link.start = open - parts.replyLeadIn.size();
        } else {
            continue;
        }
        const std::string_view after = content.substr(open + kLinkOpen.size());
        if (after.starts_with(parts.absoluteTarget)) {
            link.absolute = true;
            link.end = open + kLinkOpen.size() + parts.absoluteTarget.size();
        } else if (after.starts_with(kRelativeTarget)) {
            link.end = open + kLinkOpen.size() + kRelativeTarget.size();
        } else {
            continue;
        }
        links.push_back(link);
    }
}

// The first link of a kind and form whose pattern starts at `from` or later,
// looked for from `*cursor` on; the cursor stays at the link found, as the
// positions asked for only grow. Nothing: -1.
std::ptrdiff_t NextLink(const std::vector<Link>& links, bool parent, bool absolute,
                        std::size_t from, std::size_t* cursor) {
    while (*cursor < links.size()) {
        const Link& link = links[*cursor];
        if (link.parent == parent && link.absolute == absolute && link.start >= from) {
            return static_cast<std::ptrdiff_t>(*cursor);
        }
        ++*cursor;
    }
    return -1;
}

// The buffer pages are read into, kept from page to page so that a run over
// thousands of pages neither allocates nor clears memory per page; one grown
// by an unusually large page is given back.
constexpr std::size_t kKeptBufferSize = 1 << 20;

class ReadBuffer {
  public:
    ReadBuffer() : buffer_(Buffer()) {}
    ~ReadBuffer() {
        if (buffer_.size() > kKeptBufferSize) {
            std::string().swap(buffer_);
        }
    }
    ReadBuffer(const ReadBuffer&) = delete;
    ReadBuffer& operator=(const ReadBuffer&) = delete;

    std::string& Get() { return buffer_; }

  private:
    static std::string& Buffer() {
        thread_local std::string buffer;
        return buffer;
    }

    std::string& buffer_;
};

}  // namespace

bool PageReader::Load(const std::string& fileName, FileStamp* stamp) {
    ReadBuffer buffer;
    std::optional<std::string_view> content;
    try {
        content = ReadFileInto(fileName, buffer.Get(), stamp);
    } catch (const IoError&) {
        fileName_ = fileName;
        throw;
    }
    if (!content) {
        return false;
    }
    fileName_ = fileName;
    Parse(*content);
    return true;
}

void PageReader::LoadContent(const std::string& fileName, std::string_view content) {
    fileName_ = fileName;
    Parse(content);
}

void PageReader::Parse(std::string_view whole) {
    const std::string_view content = ContentBeforeNul(whole);
    hasLines_ = !content.empty();

    // The first line: up to the first line end.
    std::size_t lineEnd = 0;
    while (lineEnd < content.size() && !IsLineEnd(content[lineEnd])) {
        ++lineEnd;
    }
    const std::string_view line = content.substr(0, lineEnd);
    numberField_.assign(line.size() > kNumberOffset ? line.substr(kNumberOffset, kNumberLength)
                                                    : std::string_view());
    title_.clear();
    if (line.size() > kTitleOffset) {
        const std::size_t end = line.find(kTitleEnd, kTitleOffset);
        if (end != std::string_view::npos) {
            title_.assign(line.substr(kTitleOffset, end - kTitleOffset));
        }
    }

    thread_local std::vector<Link> links;
    FindLinks(content, links);

    // The parent link: the absolute form wherever it stands, else the
    // relative one.
    std::size_t cursor = 0;
    std::ptrdiff_t parent = NextLink(links, true, true, 0, &cursor);
    if (parent < 0) {
        cursor = 0;
        parent = NextLink(links, true, false, 0, &cursor);
    }
    hasParentLink_ = parent >= 0;
    parentField_.clear();
    if (hasParentLink_) {
        std::size_t from = links[static_cast<std::size_t>(parent)].end;
        parentField_ = WholeTextBytes(content, from, kNumberLength);
    }

    // In every pass the absolute form is looked for first in the whole rest
    // of the text; only when it is absent there does the relative form count.
    replies_.clear();
    std::size_t absoluteCursor = 0;
    std::size_t relativeCursor = 0;
    std::size_t from = 0;
    for (;;) {
        std::ptrdiff_t reply = NextLink(links, false, true, from, &absoluteCursor);
        if (reply < 0) {
            reply = NextLink(links, false, false, from, &relativeCursor);
        }
        if (reply < 0) {
            break;
        }
        from = links[static_cast<std::size_t>(reply)].end;
        replies_.push_back(WholeTextBytes(content, from, kNumberLength));
    }
}

int PageReader::Number() const {
    if (!hasLines_) {
        return -1;
    }
    return StrToInt(numberField_);
}

int PageReader::ParentNumber() const {
    if (!hasLines_ || !hasParentLink_) {
        return -1;
    }
    return StrToInt(parentField_);
}

}  // namespace teluri

// The message page reader: reads one page of the board's archive and answers
// its number, title, parent number and reply numbers. The page is not parsed
// as HTML: every value stands at a fixed byte position of the first line or
// right after a fixed link pattern, found by plain byte search. Texts stay
// cp932 bytes; positions count bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace teluri {

// The board's host and path inside the absolute link form.
inline constexpr std::string_view kBoardHostPath = "www.orvak.example/teluri";

// Where a page's title starts in its first line: byte 49, 1-based.
inline constexpr std::size_t kTitleOffset = 48;

struct FileStamp;

class PageReader {
  public:
    // Loads the page file `fileName` (used as given) and collects its
    // replies. When no such file exists nothing changes and the result is
    // false: the reader keeps the page it held. A file that exists but
    // cannot be read throws IoError; the reader's file name is then already
    // the new one while its fields are the previous page's. `stamp`, when
    // given, receives the stamp of the file read (see base/files.h).
    bool Load(const std::string& fileName, FileStamp* stamp = nullptr);

    // Takes the page of `fileName` from its content as already read, as Load
    // would from the file.
    void LoadContent(const std::string& fileName, std::string_view content);

    // Bytes 18-21 of the first line as an integer; -1 for a page without
    // lines. Throws ConvertError when those bytes are no integer.
    int Number() const;

    // The 4 bytes after the first parent link as an integer, the absolute
    // form looked for first; -1 without lines or without a parent link.
    int ParentNumber() const;

    // The first line from byte 49 up to "</font><hr noshade>"; empty when the
    // marker is missing there.
    const std::string& Title() const { return title_; }

    // The 4 bytes after each reply link, in the order found.
    const std::vector<std::string>& Replies() const { return replies_; }

    // True once some Load found its file.
    bool HasFile() const { return !fileName_.empty(); }

    const std::string& FileName() const { return fileName_; }

  private:
    // Takes the fields from a page's content as read.
    void Parse(std::string_view content);

    std::string fileName_;
    // The fields are those of the page's whole text: its lines up to the
    // first NUL byte, each followed by CR LF. Only the fields are kept, as
    // bytes; they become numbers when asked for, so that a field that is no
    // integer fails at that moment.
    bool hasLines_ = false;
    std::string numberField_;
    std::string title_;
    bool hasParentLink_ = false;
    std::string parentField_;
    std::vector<std::string> replies_;
};

}  // namespace teluri

// A shown document's text in the match form of the search's rule, with the
// document position of every byte, so that the occurrences of a text found
// in the bytes can be highlighted in the document.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "htmlview/ui/highlights.h"

class QString;
class QTextDocument;

namespace teluri {

// A typed text in match form; a text without a cp932 form gives the empty
// text, which occurs nowhere.
std::string NeedleOf(const QString& text);

class DocumentText {
  public:
    // The document's text, block by block with a line end between blocks;
    // characters without a cp932 form stand as a NUL byte, which no typed
    // text holds.
    explicit DocumentText(const QTextDocument& document);

    // The occurrences of `needle` (match form), front to back, as document
    // ranges.
    std::vector<HighlightRange> Find(std::string_view needle) const;

  private:
    void Append(std::string_view bytes, int start, int end);

    std::string bytes_;
    // Per byte, the document positions of the character that holds it.
    std::vector<int> starts_;
    std::vector<int> ends_;
};

}  // namespace teluri

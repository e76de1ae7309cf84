#include "htmlview/ui/highlights.h"

#include <QTextEdit>

namespace teluri {
namespace {

const QColor kMarkColor(255, 236, 120);
const QColor kCurrentColor(255, 150, 50);

QTextCursor RangeCursor(QTextEdit& view, HighlightRange range) {
    QTextCursor cursor(view.document());
    cursor.setPosition(range.first);
    cursor.setPosition(range.second, QTextCursor::KeepAnchor);
    return cursor;
}

}  // namespace

void ShowHighlights(QTextEdit& view, const std::vector<HighlightRange>& ranges, int current) {
    QList<QTextEdit::ExtraSelection> marks;
    marks.reserve(static_cast<qsizetype>(ranges.size()));
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = RangeCursor(view, ranges[i]);
        mark.format.setBackground(static_cast<int>(i) == current ? kCurrentColor : kMarkColor);
        marks.append(mark);
    }
    view.setExtraSelections(marks);
    if (current >= 0 && current < static_cast<int>(ranges.size())) {
        SelectRange(view, ranges[static_cast<std::size_t>(current)]);
    }
}

void SelectRange(QTextEdit& view, HighlightRange range) {
    view.setTextCursor(RangeCursor(view, range));
    view.ensureCursorVisible();
}

void ClearHighlights(QTextEdit& view) {
    view.setExtraSelections({});
}

}  // namespace teluri

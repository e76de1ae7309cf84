// The find bar under the page: a text field, buttons for the previous and
// the next occurrence, the count ("3 / 17", "0 件") and a close button.
// Every occurrence of the text in the shown page is marked by the search's
// rule; the current one is the page's selection, so that copying takes it.
// The bar keeps its text when the page changes and marks it anew there.
#pragma once

#include <QStyle>
#include <QWidget>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "htmlview/ui/highlights.h"
#include "search/ui/document_text.h"

class QLabel;
class QLineEdit;
class QTextEdit;
class QToolButton;

namespace teluri {

class FindBar : public QWidget {
  public:
    FindBar(QTextEdit& page, QWidget* parent);

    // Shows the bar and puts the focus in its field, the text selected.
    void Open();
    // Shows the bar filled with `text`, marking it, when the shown page
    // holds it; otherwise changes nothing. The focus stays where it is.
    bool OpenWith(const QString& text);
    // Hides the bar and removes the marks.
    void Close();
    // The next or previous occurrence becomes the current one, wrapping
    // round; with the bar closed it only becomes the selection.
    void Next();
    void Previous();

    QString Text() const;
    QString CountText() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void PageChanged();
    void TextEdited();
    // Finds the text in the page anew and shows the occurrence `current`.
    void Refresh(int current);
    void Step(int by);
    std::vector<HighlightRange> Occurrences();
    void ShowCount(int total);

    QTextEdit& page_;
    QLineEdit* textField_ = nullptr;
    QLabel* countLabel_ = nullptr;
    // The shown page's text, made when first needed after a page change.
    std::optional<DocumentText> pageText_;
    bool refreshPending_ = false;
    int current_ = -1;
    // The buttons' pictures, set (and forgotten) when the bar is first shown.
    std::vector<std::pair<QToolButton*, QStyle::StandardPixmap>> pictures_;
};

}  // namespace teluri

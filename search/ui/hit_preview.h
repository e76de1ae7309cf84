// The preview of a search hit: when a row of the search window's list is
// selected, or the mouse pointer has rested on a row for a moment, a
// preview popup below the row shows the page's number and title and the
// lines around the first occurrences of the searched text (HitContext),
// read from the page at that moment, one page at a time.
#pragma once

#include <QObject>

#include <string>

#include "threads/archive.h"

class QAbstractItemView;
class QTimer;

namespace teluri {

class PreviewPopup;

class HitPreview : public QObject {
    Q_OBJECT

  public:
    static constexpr int kRestDelay = 400;  // milliseconds

    // Previews the rows of `list`, hits among the pages of the archive's
    // file list.
    HitPreview(QAbstractItemView& list, const Archive& archive);

    // Shows the preview of the hit in row `row`: the page numbered `number`
    // (cp932 digits), its title, and where it holds `text` (cp932).
    void Show(int row, const std::string& number, const std::string& title,
              const std::string& text);
    void Hide();

    // The preview's rich text for a page's file content, or for a page
    // without a file (nothing).
    static QString PreviewText(const std::string& number, const std::string& title,
                               const std::optional<std::string>& content, const std::string& text);

  signals:
    // Row `row` is to be previewed: the window answers with Show.
    void rowWanted(int row);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Rested();

    QAbstractItemView& list_;
    const QObject* viewport_;
    const Archive& archive_;
    PreviewPopup* popup_;
    QTimer* timer_;
    int restRow_ = -1;
};

}  // namespace teluri

// The preview of a board link: when the mouse pointer has rested on such a
// link for a moment, a preview popup shows the linked page's number, title
// and first lines, read from its file at that moment; it goes when the
// pointer leaves the link. Any mouse press, key press or menu closes the
// preview, or stops one about to open, so that it never covers a context
// menu.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string>

class QTimer;
class QUrl;

namespace teluri {

class PageView;
class PreviewPopup;

class LinkPreview : public QObject {
  public:
    static constexpr int kRestDelay = 400;  // milliseconds

    // `pageFile`: the file a board link's number names.
    LinkPreview(PageView& html, std::function<std::string(const std::string& number)> pageFile);

    // The popup's text for a board link's number: the preview (rich text,
    // its lines wrapping), or the note that the page does not exist (plain
    // text, on one line).
    QString PreviewText(const std::string& number) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Hovered(const QUrl& link);
    void Rested();

    PageView& html_;
    std::function<std::string(const std::string&)> pageFile_;
    QTimer* timer_;
    PreviewPopup* popup_;
    std::string number_;
};

}  // namespace teluri

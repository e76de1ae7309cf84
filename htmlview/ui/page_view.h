// The HTML display on QTextBrowser. It lays out the part of a page that
// ReadShownPage gives, with a note above a page cut short or shown as text.
// Pages are cp932 whatever their meta tags say; a document that starts with
// a UTF-8 byte-order mark (the program's own tutorial page) is UTF-8.
#pragma once

#include <QTextBrowser>

#include "htmlview/page_excerpt.h"
#include "htmlview/ui/page_display.h"

namespace teluri {

class PageView : public QTextBrowser, public PageDisplay {
    Q_OBJECT

  public:
    explicit PageView(QWidget* parent = nullptr);

    void LoadUrl(const QString& url) override;
    // Empties the display: no document and no URL, and no pageShown.
    void ShowNothing();
    QString DocumentUrl() const override { return documentUrl_; }
    int FontSize() const override { return fontSize_; }
    void SetFontSize(int points) override;
    int FixedFontSize() const override { return fixedFontSize_; }
    void SetFixedFontSize(int points) override;
    QString SelectionText(int start, int length) const override;
    void SelectAllText() override;
    void PrintDocument(QPrinter& printer) override;
    QWidget* Widget() override { return this; }

  signals:
    // After every LoadUrl, with the URL, once the document is shown.
    void pageShown(const QString& url);
    // A mouse button was pressed over the document.
    void pressed(Qt::MouseButton button);

  protected:
    QVariant loadResource(int type, const QUrl& name) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void ShowPage(const ShownPage& page);
    void ApplyFonts();

    QString documentUrl_;
    // The sizes as set, also 0 or below; drawing uses at least 1 point.
    int fontSize_ = 10;
    int fixedFontSize_ = 10;
};

}  // namespace teluri

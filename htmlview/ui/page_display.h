// The contract between the windows and the HTML display that shows a page.
// Callers use only these operations.
#pragma once

#include <QString>
#include <Qt>

class QPrinter;
class QWidget;

namespace teluri {

class PageDisplay {
  public:
    virtual ~PageDisplay() = default;

    // Loads the document of a page URL (a file:// URL) and shows it.
    virtual void LoadUrl(const QString& url) = 0;
    // The URL last given to LoadUrl.
    virtual QString DocumentUrl() const = 0;

    // Point sizes of the proportional and the fixed-pitch font, as set.
    virtual int FontSize() const = 0;
    virtual void SetFontSize(int points) = 0;
    virtual int FixedFontSize() const = 0;
    virtual void SetFixedFontSize(int points) = 0;

    // With (-1, 0): the selected text as plain text.
    virtual QString SelectionText(int start, int length) const = 0;
    virtual void SelectAllText() = 0;
    // Draws the document on the printer; throws when printing fails.
    virtual void PrintDocument(QPrinter& printer) = 0;

    // The widget, for layout and focus.
    virtual QWidget* Widget() = 0;
};

}  // namespace teluri

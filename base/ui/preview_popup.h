// A small window of rich text beside the thing it previews, as a tooltip
// looks: the link preview of a page and the search window's hit preview.
// Unlike a tooltip it stays while keys are pressed (a hit list is walked
// with the arrow keys); it goes away when asked, on a mouse click or wheel
// turn anywhere, on Esc, when the owner's window moves or is resized, and
// when the program loses the focus.
#pragma once

#include <QLabel>

#include <string>

namespace teluri {

class PreviewPopup : public QLabel {
  public:
    // `owner`: the widget whose previews it shows; its hiding hides them.
    explicit PreviewPopup(QWidget& owner);

    // Shows `richText` just below `anchor` (global coordinates), kept on
    // the screen, in place of what was shown.
    void ShowText(const QString& richText, const QRect& anchor);

    static constexpr int kMaximumWidth = 480;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QWidget& owner_;
    // The owner's window while the popup is shown.
    QWidget* window_ = nullptr;
};

// "1234.msg はありません": what a preview of a page the folder lacks says.
QString MissingPageNote(const std::string& number);

}  // namespace teluri

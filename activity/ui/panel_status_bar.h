// The main window's status bar: panels of fixed widths from its left edge,
// a sunken bevel around each but the last, and the space after the last
// panel. The busy gauge draws in the first panel; the others and the space
// after them show texts, each cut short with "…" when it does not fit.
#pragma once

#include <QString>
#include <QWidget>

#include <vector>

namespace teluri {

class PanelStatusBar : public QWidget {
  public:
    PanelStatusBar(QWidget* parent, std::vector<int> panelWidths);

    int PanelCount() const { return static_cast<int>(panelWidths_.size()); }
    int PanelWidth(int index) const { return panelWidths_[static_cast<std::size_t>(index)]; }

    // The text of panel `place`, or of the space after the panels for
    // `place` == PanelCount(). The first panel takes no text: it is the
    // gauge's.
    void SetText(int place, const QString& text);
    QString TextAt(int place) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Where the text of `place` is drawn.
    QRect TextRect(int place) const;

    std::vector<int> panelWidths_;
    // One per panel, and one more for the space after them.
    std::vector<QString> texts_;
};

}  // namespace teluri

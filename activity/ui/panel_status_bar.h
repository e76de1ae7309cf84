// The main window's status bar: panels of fixed widths from its left edge,
// a sunken bevel around each but the last. The program writes no text into
// it; the busy gauge draws in its first panel.
#pragma once

#include <QWidget>

#include <vector>

namespace teluri {

class PanelStatusBar : public QWidget {
  public:
    PanelStatusBar(QWidget* parent, std::vector<int> panelWidths);

    int PanelCount() const { return static_cast<int>(panelWidths_.size()); }
    int PanelWidth(int index) const { return panelWidths_[static_cast<std::size_t>(index)]; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<int> panelWidths_;
};

}  // namespace teluri

// A panel with a separator line along its top edge, kept as wide as the
// panel: the tool bar and the strip that stands in for it when folded.
#pragma once

#include <QFrame>

namespace teluri {

class TopLinePanel : public QFrame {
  public:
    TopLinePanel(QWidget* parent, const char* name, const char* lineName, int height);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QFrame* line_;
};

}  // namespace teluri

// A short note in the main window's status bar, from the left edge of one
// of its panels to the bar's end, that goes away by itself after a while:
// what a command says when it has nothing to do ("no next search hit").
#pragma once

#include <QLabel>

class QTimer;

namespace teluri {

class PanelStatusBar;

class StatusNote : public QLabel {
  public:
    static constexpr int kShownFor = 5000;  // milliseconds

    // Shown over the panel `panel` of `bar` and the room after it.
    StatusNote(PanelStatusBar& bar, int panel);

    // Shows `text` in place of the note before; an empty text clears it.
    void Say(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Place();

    PanelStatusBar& bar_;
    int panel_;
    QTimer* timer_;
};

}  // namespace teluri

// Keeps the search window's place and size between uses and runs, in
// Window.ini, section "SearchWindow" (ReadWindowPlace): read before the
// window is first shown, written each time it is hidden (closing it hides
// it). Without a saved place, or with one that no screen shows, the window
// is centred on its screen when first shown; a saved size larger than the
// screen is cut to it.
#pragma once

#include <QObject>

#include "reading/window_state.h"

class QWidget;

namespace teluri {

inline constexpr std::string_view kSearchWindowSection = "SearchWindow";

class SearchWindowMemory : public QObject {
  public:
    explicit SearchWindowMemory(QWidget& window);

    // Writes the section; throws IoError when the file cannot be written.
    void Save();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void PlaceAtFirstShow();

    QWidget& window_;
    bool placed_ = false;
    // The window's inside while it was last neither maximised nor
    // minimised; no size before it was shown.
    ScreenRect normal_;
};

}  // namespace teluri

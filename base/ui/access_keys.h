// Label access keys of a window take precedence over the menu bar's access
// keys while one of the window's controls has the focus: in the main window
// Alt+H focuses the page view (" 内容(&H)") although the Help menu is
// "ヘルプ(&H)"; with no control focused the menu bar's key opens its menu.
#pragma once

#include <QObject>

class QLabel;
class QWidget;

namespace teluri {

class LabelAccessKeys : public QObject {
  public:
    // Watches the key events of `window`'s controls for as long as the
    // window lives.
    explicit LabelAccessKeys(QWidget* window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* LabelForKey(int key) const;

    QWidget* window_;
};

}  // namespace teluri

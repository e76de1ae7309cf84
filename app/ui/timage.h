// A picture control that reports clicks. Like every label it has no window
// of its own for the tool bar's hover check: over a picture the check finds
// the panel that holds it.
#pragma once

#include <QLabel>
#include <QMouseEvent>

#include <functional>

namespace teluri {

class TImage : public QLabel {
  public:
    explicit TImage(QWidget* parent) : QLabel(parent) {
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    std::function<void()> onClick;

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        if (onClick && rect().contains(event->position().toPoint())) {
            onClick();
        }
    }
};

}  // namespace teluri

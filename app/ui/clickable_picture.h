// A picture that reports a click: a press and a release of the left button
// over it.
#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace teluri {

class ClickablePicture : public QLabel {
    Q_OBJECT

  public:
    explicit ClickablePicture(QWidget* parent) : QLabel(parent) {
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        if (rect().contains(event->position().toPoint())) {
            emit clicked();
        }
    }
};

}  // namespace teluri

// Work that the first picture of a window does not need: run from the event
// loop right after a widget has been painted for the first time, so that the
// window reaches the screen first.
#pragma once

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

namespace teluri {

// Calls `action` once, from the event loop, after the first paint of
// `widget` has ended. Nothing happens when the widget is destroyed before.
inline void AfterFirstPaint(QWidget& widget, std::function<void()> action) {
    class Watch : public QObject {
      public:
        Watch(QWidget& widget, std::function<void()> action)
            : QObject(&widget), widget_(widget), action_(std::move(action)) {
            widget.installEventFilter(this);
        }

      protected:
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) {
                widget_.removeEventFilter(this);
                QTimer::singleShot(0, &widget_, std::move(action_));
                deleteLater();
            }
            return false;
        }

      private:
        QWidget& widget_;
        std::function<void()> action_;
    };
    new Watch(widget, std::move(action));
}

}  // namespace teluri

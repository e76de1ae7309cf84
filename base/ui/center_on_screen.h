// Windows that open in the middle of the screen.
#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace teluri {

// Moves a window to the centre of its screen's available area.
inline void CenterOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen != nullptr) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

}  // namespace teluri

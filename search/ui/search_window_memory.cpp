#include "search/ui/search_window_memory.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

#include "base/ui/guard.h"
#include "reading/ui/screen_rects.h"
#include "reading/window_place.h"
#include "settings/settings_file.h"

namespace teluri {

SearchWindowMemory::SearchWindowMemory(QWidget& window) : QObject(&window), window_(window) {
    window_.installEventFilter(this);
}

void SearchWindowMemory::PlaceAtFirstShow() {
    placed_ = true;
    const QScreen* screen =
        window_.screen() != nullptr ? window_.screen() : QGuiApplication::primaryScreen();
    const QRect room = screen != nullptr ? screen->availableGeometry() : QRect();
    const std::vector<ScreenRect> screens = AvailableScreens();
    const std::optional<WindowPlace> saved =
        ReadWindowPlace(SettingsFile(WindowStateFilePath()), kSearchWindowSection);
    const std::optional<ScreenRect> fitted =
        saved ? FitOnScreens(saved->normal, screens) : std::nullopt;
    if (fitted) {
        QRect place(fitted->left, fitted->top, fitted->width, fitted->height);
        if (!room.isEmpty()) {
            place.setSize(place.size().boundedTo(room.size()));
        }
        window_.setGeometry(place);
        normal_ = ToScreenRect(window_.geometry());
        if (saved->maximized) {
            window_.setWindowState(window_.windowState() | Qt::WindowMaximized);
        }
        return;
    }
    const QRect screenRect = screen != nullptr ? screen->geometry() : QRect();
    window_.move(screenRect.left() + (screenRect.width() - window_.width()) / 2,
                 screenRect.top() + (screenRect.height() - window_.height()) / 2);
}

void SearchWindowMemory::Save() {
    WindowPlace place;
    place.normal = normal_.width > 0 ? normal_ : ToScreenRect(window_.normalGeometry());
    place.maximized = window_.isMaximized();
    SettingsFile ini(WindowStateFilePath());
    WriteWindowPlace(ini, kSearchWindowSection, place);
}

bool SearchWindowMemory::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::Show:
            if (!placed_) {
                Guarded(&window_, [this] { PlaceAtFirstShow(); });
            }
            break;
        case QEvent::Move:
        case QEvent::Resize:
            if (window_.isVisible() &&
                !(window_.windowState() &
                  (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) {
                normal_ = ToScreenRect(window_.geometry());
            }
            break;
        case QEvent::Hide:
            if (placed_) {
                Guarded(&window_, [this] { Save(); });
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace teluri

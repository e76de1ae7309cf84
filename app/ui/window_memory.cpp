#include "app/ui/window_memory.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QWidget>
#include <QWindowStateChangeEvent>

#include <numeric>

#include "app/ui/toolbar_fold.h"
#include "base/ui/guard.h"
#include "reading/ui/screen_rects.h"
#include "reading/window_state.h"
#include "settings/settings_file.h"

namespace teluri {

WindowMemory::WindowMemory(QWidget& window, QSplitter& splitter, ToolBarFold& toolBar)
    : QObject(&window), window_(window), splitter_(splitter), toolBar_(toolBar) {
    window_.installEventFilter(this);
}

void WindowMemory::Restore() {
    const std::optional<WindowState> state = ReadWindowState(SettingsFile(WindowStateFilePath()));
    if (!state) {
        return;
    }
    // The state first: a size given while the window is to be maximised
    // does not make it normal again.
    window_.setWindowState(window_.windowState() & ~Qt::WindowMaximized);
    const std::vector<ScreenRect> screens = AvailableScreens();
    if (const std::optional<ScreenRect> fitted = FitOnScreens(state->normal, screens)) {
        // The place of the window's inside, not of its frame: a window
        // system that has not yet drawn the frame knows no frame to add.
        normal_ = *fitted;
        window_.setGeometry(normal_.left, normal_.top, normal_.width, normal_.height);
    }
    if (state->maximized) {
        window_.setWindowState(window_.windowState() | Qt::WindowMaximized);
    }
    // A tree pane wider than every screen is no width a window had.
    const int widestScreen = std::accumulate(
        screens.begin(), screens.end(), 0,
        [](int widest, const ScreenRect& screen) { return std::max(widest, screen.width); });
    if (state->treeWidth > 0 && state->treeWidth < widestScreen) {
        QList<int> sizes = splitter_.sizes();
        if (sizes.size() == 2) {
            const int total = std::max(sizes[0] + sizes[1], state->treeWidth + 1);
            splitter_.setSizes({state->treeWidth, total - state->treeWidth});
        }
    }
    if (state->toolBarFolded && !toolBar_.IsFolded()) {
        toolBar_.FoldToolBar();
    }
}

void WindowMemory::Save() {
    WindowState state;
    const bool maximized = window_.isMaximized();
    state.normal = normal_.width > 0 ? normal_ : ToScreenRect(window_.normalGeometry());
    state.maximized = maximized;
    state.treeWidth = splitter_.sizes().value(0);
    state.toolBarFolded = toolBar_.IsFolded();
    SettingsFile ini(WindowStateFilePath());
    WriteWindowState(ini, state);
}

void WindowMemory::NarrowTreeToHalf() {
    const QList<int> sizes = splitter_.sizes();
    const int half = window_.width() / 2;
    if (sizes.size() == 2 && sizes[0] > half) {
        splitter_.setSizes({half, std::max(1, sizes[0] + sizes[1] - half)});
    }
}

bool WindowMemory::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_) {
        return QObject::eventFilter(watched, event);
    }
    const Qt::WindowStates notNormal =
        Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen;
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && window_.isVisible() &&
        !(window_.windowState() & notNormal)) {
        normal_ = ToScreenRect(window_.geometry());
    }
    if (event->type() == QEvent::WindowStateChange &&
        (static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMaximized) &&
        !(window_.windowState() & notNormal)) {
        unmaximising_ = true;
        NarrowTreeToHalf();
    }
    if (event->type() == QEvent::Resize && unmaximising_ && !(window_.windowState() & notNormal)) {
        unmaximising_ = false;
        NarrowTreeToHalf();
    }
    if (event->type() == QEvent::Close) {
        Guarded(&window_, [this] { Save(); });
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace teluri

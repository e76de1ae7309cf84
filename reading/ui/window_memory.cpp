#include "reading/ui/window_memory.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QWidget>

#include "base/ui/guard.h"
#include "reading/window_state.h"
#include "settings/inifile.h"

namespace teluri {
namespace {

ScreenRect ToScreenRect(const QRect& rect) {
    return {rect.left(), rect.top(), rect.width(), rect.height()};
}

std::vector<ScreenRect> AvailableScreens() {
    std::vector<ScreenRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens.push_back(ToScreenRect(screen->availableGeometry()));
    }
    return screens;
}

}  // namespace

WindowMemory::WindowMemory(QWidget& window, QSplitter& splitter, FoldSwitch toolBar)
    : QObject(&window), window_(window), splitter_(splitter), toolBar_(std::move(toolBar)) {
    window_.installEventFilter(this);
}

void WindowMemory::Restore() {
    const std::optional<WindowState> state = ReadWindowState(TIniFile(WindowStateFilePath()));
    if (!state) {
        return;
    }
    if (IsOnSomeScreen(state->normal, AvailableScreens())) {
        const ScreenRect& normal = state->normal;
        window_.setGeometry(normal.left, normal.top, normal.width, normal.height);
    }
    window_.setWindowState(state->maximized ? window_.windowState() | Qt::WindowMaximized
                                            : window_.windowState() & ~Qt::WindowMaximized);
    if (state->treeWidth > 0) {
        QList<int> sizes = splitter_.sizes();
        if (sizes.size() == 2) {
            const int total = std::max(sizes[0] + sizes[1], state->treeWidth + 1);
            splitter_.setSizes({state->treeWidth, total - state->treeWidth});
        }
    }
    if (state->toolBarFolded && !toolBar_.folded()) {
        toolBar_.fold();
    }
}

void WindowMemory::Save() {
    WindowState state;
    const bool maximized = window_.isMaximized();
    state.normal = ToScreenRect(maximized ? window_.normalGeometry() : window_.geometry());
    state.maximized = maximized;
    state.treeWidth = splitter_.sizes().value(0);
    state.toolBarFolded = toolBar_.folded();
    TIniFile ini(WindowStateFilePath());
    WriteWindowState(ini, state);
}

bool WindowMemory::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Close) {
        Guarded(&window_, [this] { Save(); });
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace teluri

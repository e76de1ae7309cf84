#include "base/ui/access_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>

namespace teluri {

LabelAccessKeys::LabelAccessKeys(QWidget* window) : QObject(window), window_(window) {
    qApp->installEventFilter(this);
}

QLabel* LabelAccessKeys::LabelForKey(int key) const {
    const QKeySequence pressed(QKeyCombination(Qt::AltModifier, static_cast<Qt::Key>(key)));
    for (QLabel* label : window_->findChildren<QLabel*>()) {
        if (label->buddy() != nullptr && label->isVisible() && label->buddy()->isVisible() &&
            QKeySequence::mnemonic(label->text()) == pressed) {
            return label;
        }
    }
    return nullptr;
}

bool LabelAccessKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    QWidget* focus = QApplication::focusWidget();
    if (keyEvent->modifiers() != Qt::AltModifier || focus == nullptr || focus == window_ ||
        focus->window() != window_) {
        return QObject::eventFilter(watched, event);
    }
    QLabel* label = LabelForKey(keyEvent->key());
    if (label == nullptr) {
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // Accepted, the key arrives as a key press instead of a shortcut.
        event->accept();
        return true;
    }
    label->buddy()->setFocus(Qt::ShortcutFocusReason);
    return true;
}

}  // namespace teluri

#include "base/ui/preview_popup.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

#include "base/ui/qtext.h"

namespace teluri {

QString MissingPageNote(const std::string& number) {
    return FromCp932(number) + QString::fromUtf8(".msg はありません");
}

PreviewPopup::PreviewPopup(QWidget& owner)
    : QLabel(&owner, Qt::ToolTip | Qt::BypassGraphicsProxyWidget), owner_(owner) {
    setObjectName("PreviewPopup");
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setPalette(QToolTip::palette());
    setAutoFillBackground(true);
    setFrameShape(QFrame::Box);
    setMargin(4);
    setWordWrap(true);
    setTextFormat(Qt::RichText);
    setMaximumWidth(kMaximumWidth);
    owner_.installEventFilter(this);
}

void PreviewPopup::ShowText(const QString& richText, const QRect& anchor) {
    setText(richText);
    setMinimumWidth(0);
    adjustSize();
    QRect place(anchor.bottomLeft() + QPoint(0, 4), size());
    if (const QScreen* screen = QGuiApplication::screenAt(anchor.center())) {
        const QRect room = screen->availableGeometry();
        if (place.bottom() > room.bottom()) {
            place.moveBottom(anchor.top() - 4);  // above, when below has no room
        }
        place.moveLeft(std::clamp(place.left(), room.left(), room.right() - place.width()));
        place.moveTop(std::max(place.top(), room.top()));
    }
    move(place.topLeft());
    show();
    raise();
}

void PreviewPopup::showEvent(QShowEvent* event) {
    qApp->installEventFilter(this);
    window_ = owner_.window();
    QLabel::showEvent(event);
}

void PreviewPopup::hideEvent(QHideEvent* event) {
    qApp->removeEventFilter(this);
    QLabel::hideEvent(event);
}

bool PreviewPopup::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Hide:
        case QEvent::Close:
            if (watched == &owner_) {
                hide();
            }
            break;
        case QEvent::Move:
        case QEvent::Resize:
            // The window moved or took another size: the row or link it
            // stood beside is elsewhere.
            if (watched == window_ && window_ != nullptr) {
                hide();
            }
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ApplicationDeactivate:
            hide();
            break;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && isVisible()) {
                hide();
            }
            break;
        default:
            break;
    }
    return QLabel::eventFilter(watched, event);
}

}  // namespace teluri

#include "app/ui/folder_drop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace teluri {
namespace {

// The local path a drag carries: exactly one, from the local file system.
QString DroppedPath(const QMimeData* data) {
    if (data == nullptr || data->urls().size() != 1 || !data->urls()[0].isLocalFile()) {
        return {};
    }
    return data->urls()[0].toLocalFile();
}

}  // namespace

FolderDrop::FolderDrop(QWidget& window) : QObject(&window) {
    window.setAcceptDrops(true);
    window.installEventFilter(this);
}

bool FolderDrop::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!DroppedPath(drag->mimeData()).isEmpty()) {
                drag->acceptProposedAction();
                return true;
            }
            drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString path = DroppedPath(drop->mimeData());
            if (path.isEmpty()) {
                return false;
            }
            drop->acceptProposedAction();
            // After the drop has ended: opening may show a message box,
            // which would hold the dragging program waiting.
            QMetaObject::invokeMethod(
                this, [this, path] { emit folderDropped(path); }, Qt::QueuedConnection);
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace teluri

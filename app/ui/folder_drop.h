// Dropping a folder on the main window: a drag of one local file or folder
// is taken; the drop reports its path, for it to be opened as the data
// folder (a path that is no folder is reported there).
#pragma once

#include <QObject>

class QMimeData;
class QWidget;

namespace teluri {

class FolderDrop : public QObject {
    Q_OBJECT

  public:
    // Takes the drops on `window` that none of its parts takes.
    explicit FolderDrop(QWidget& window);

  signals:
    void folderDropped(const QString& folder);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace teluri

// The splash window, also the version box: the program's logo with the
// version over it, no border; a click on the picture closes it.
#pragma once

#include <QDialog>

namespace teluri {

class VersionBox : public QDialog {
  public:
    explicit VersionBox(QWidget* parent = nullptr);
};

}  // namespace teluri

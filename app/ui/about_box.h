// The About box: what the program is for and where its data, its latest
// version and a conversion tool can be had.
#pragma once

#include <QDialog>

namespace teluri {

class AboutBox : public QDialog {
  public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace teluri

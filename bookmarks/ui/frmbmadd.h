// The add dialog: asks for the name under which the page on show is
// bookmarked, the page's title proposed. Created once and reused.
#pragma once

#include <QDialog>

class QLineEdit;

namespace teluri {

class TfrmBMAdd : public QDialog {
  public:
    explicit TfrmBMAdd(QWidget* parent = nullptr);

    // The name field, "edtName".
    QLineEdit& edtName() { return *edtName_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLineEdit* edtName_;
};

}  // namespace teluri

// The add dialog: asks for the name under which the page on show is
// bookmarked, the page's title proposed. Created once and reused.
#pragma once

#include <QDialog>

class QLineEdit;

namespace teluri {

class AddBookmarkDialog : public QDialog {
  public:
    explicit AddBookmarkDialog(QWidget* parent = nullptr);

    // The name field, "edtName".
    QLineEdit& nameField() { return *nameField_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLineEdit* nameField_;
};

}  // namespace teluri

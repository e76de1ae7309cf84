// Asks for a message number to go to: 1 to 4 digits, nothing else can be
// typed; OK only with at least one digit.
#pragma once

#include <QDialog>

class QLineEdit;

namespace teluri {

class GoToNumberDialog : public QDialog {
  public:
    explicit GoToNumberDialog(QWidget* parent);

    QString Number() const;
    void SetNumber(const QString& number);

  private:
    QLineEdit* edit_;
};

}  // namespace teluri

// A numeric spin field: a one-line edit with up and down buttons. The Up
// and Down keys and the buttons add or subtract 1, without bounds. Typed
// characters are limited to digits, "+", "-" and the decimal separator;
// others are refused with a beep. A text that is no integer counts as 0 and
// is left as it is when the field loses the focus.
#pragma once

#include <QWidget>

class QLineEdit;

namespace teluri {

class SpinField : public QWidget {
    Q_OBJECT

  public:
    explicit SpinField(QWidget* parent);

    QString Text() const;
    void SetText(const QString& text);
    // The text as an integer, 0 when it is none.
    int Value() const;

    QLineEdit* Edit() const { return edit_; }

  signals:
    // Every change of the text, by the user or the program.
    void changed();

  private:
    void Step(int amount);

    QLineEdit* edit_;
};

}  // namespace teluri

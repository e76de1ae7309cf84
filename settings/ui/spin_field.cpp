#include "settings/ui/spin_field.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/strtoint.h"

namespace teluri {
namespace {

// The edit of a spin field: filters typed characters and steps on Up and
// Down.
class SpinLineEdit : public QLineEdit {
  public:
    SpinLineEdit(QWidget* parent, std::function<void(int)> step)
        : QLineEdit(parent), step_(std::move(step)) {}

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
            step_(event->key() == Qt::Key_Up ? 1 : -1);
            return;
        }
        const QString text = event->text();
        if (!text.isEmpty() && text.at(0).isPrint() && !Allowed(text.at(0))) {
            QApplication::beep();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

  private:
    static bool Allowed(QChar c) {
        return (c >= '0' && c <= '9') || c == '+' || c == '-' ||
               c == QLocale().decimalPoint().front();
    }

    std::function<void(int)> step_;
};

QToolButton* ArrowButton(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setFixedWidth(15);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    return button;
}

}  // namespace

SpinField::SpinField(QWidget* parent) : QWidget(parent) {
    edit_ = new SpinLineEdit(this, [this](int amount) { Step(amount); });
    setFocusProxy(edit_);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(edit_, 1);
    auto* buttons = new QVBoxLayout();
    buttons->setSpacing(0);
    QToolButton* up = ArrowButton(this, Qt::UpArrow);
    QToolButton* down = ArrowButton(this, Qt::DownArrow);
    up->setObjectName("btnUp");
    down->setObjectName("btnDown");
    up->setAccessibleName(QString::fromUtf8("増やす"));
    down->setAccessibleName(QString::fromUtf8("減らす"));
    buttons->addWidget(up);
    buttons->addWidget(down);
    row->addLayout(buttons);
    connect(up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down, &QToolButton::clicked, this, [this] { Step(-1); });
    connect(edit_, &QLineEdit::textChanged, this, &SpinField::changed);
}

QString SpinField::Text() const {
    return edit_->text();
}

void SpinField::SetText(const QString& text) {
    edit_->setText(text);
}

int SpinField::Value() const {
    return TryStrToInt(edit_->text().toStdString()).value_or(0);
}

void SpinField::Step(int amount) {
    SetText(QString::number(static_cast<long long>(Value()) + amount));
}

}  // namespace teluri

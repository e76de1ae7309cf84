#include "reading/ui/go_to_number_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "base/ui/qtext.h"

namespace teluri {

GoToNumberDialog::GoToNumberDialog(QWidget* parent) : QDialog(parent), edit_(new QLineEdit(this)) {
    setObjectName("dlgGoToNumber");
    setWindowTitle(Text("番号へ移動"));
    edit_->setObjectName("edtNumber");
    edit_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{1,4}"), edit_));
    edit_->setMaxLength(4);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    connect(edit_, &QLineEdit::textChanged, ok,
            [ok](const QString& text) { ok->setEnabled(!text.isEmpty()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(Text("メッセージの番号(&N):"), edit_);
    form->addRow(buttons);
}

QString GoToNumberDialog::Number() const {
    return edit_->text();
}

void GoToNumberDialog::SetNumber(const QString& number) {
    edit_->setText(number);
    edit_->selectAll();
}

}  // namespace teluri

#include "bookmarks/ui/add_bookmark_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/ui/center_on_screen.h"
#include "base/ui/fonts.h"
#include "bookmarks/ui/bookmark_pictures.h"

namespace teluri {

AddBookmarkDialog::AddBookmarkDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("frmBMAdd");
    setWindowTitle(QString::fromUtf8("ブックマークに追加"));
    setFont(WindowFont());
    setModal(true);
    setFixedSize(346, 109);

    auto* icon = new QLabel(this);
    icon->setObjectName("Image1");
    icon->setAccessibleName(QString::fromUtf8("ブックマーク"));
    icon->setPixmap(BookmarkIconPicture());
    icon->setGeometry(8, 8, 32, 32);

    auto* label = new QLabel(QString::fromUtf8("このページをブックマークに追加します。"), this);
    label->setObjectName("Label1");
    label->setGeometry(48, 16, 290, 16);

    nameField_ = new QLineEdit(this);
    nameField_->setObjectName("edtName");
    nameField_->setAccessibleName(QString::fromUtf8("ブックマークの名前"));
    nameField_->setGeometry(10, 46, 325, 21);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("btnOK");
    ok->setGeometry(180, 76, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // Esc rejects the dialog as this button does.
    auto* cancel = new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ"), this);
    cancel->setObjectName("btnCancel");
    cancel->setGeometry(260, 76, 75, 25);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void AddBookmarkDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CenterOnScreen(*this);
    nameField_->setFocus();
    nameField_->selectAll();
}

}  // namespace teluri

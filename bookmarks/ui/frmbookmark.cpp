#include "bookmarks/ui/frmbookmark.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/ui/center_on_screen.h"
#include "base/ui/dialogs.h"
#include "base/ui/fonts.h"
#include "base/ui/guard.h"
#include "base/ui/qtext.h"
#include "bookmarks/ui/bookmark_pictures.h"

namespace teluri {
namespace {

// Each row keeps its line's bytes; the text shown is their display form.
constexpr int kLineRole = Qt::UserRole;

std::string LineOf(const QListWidgetItem& item) {
    return item.data(kLineRole).toByteArray().toStdString();
}

void SetLine(QListWidgetItem& item, const std::string& line) {
    item.setText(ShownText(line));
    item.setData(kLineRole, QByteArray(line.data(), static_cast<qsizetype>(line.size())));
}

}  // namespace

TfrmBookmark::TfrmBookmark(QWidget* parent) : QDialog(parent) {
    setObjectName("frmBookmark");
    setWindowTitle(QString::fromUtf8("ブックマークの編集"));
    setFont(WindowFont());
    setModal(true);
    resize(356, 306);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* bar = new QFrame(this);
    bar->setObjectName("Panel1");
    bar->setFixedHeight(33);
    column->addWidget(bar);
    struct Button {
        const char* name;
        int left;
        QPixmap glyph;
        void (TfrmBookmark::*handler)();
    };
    const Button buttons[] = {
        {"btnUp", 4, UpArrowGlyph(), &TfrmBookmark::btnUpClick},
        {"btnDown", 29, DownArrowGlyph(), &TfrmBookmark::btnDownClick},
        {"btnDelete", 58, DeleteGlyph(), &TfrmBookmark::btnDeleteClick},
    };
    for (const Button& button : buttons) {
        auto* tool = new QToolButton(bar);
        tool->setObjectName(button.name);
        tool->setGeometry(button.left, 4, 25, 25);
        tool->setAutoRaise(true);
        // As speed buttons: clicking keeps the focus and the list's selection.
        tool->setFocusPolicy(Qt::NoFocus);
        tool->setIcon(QIcon(button.glyph));
        const auto handler = button.handler;
        connect(tool, &QToolButton::clicked, this, [this, handler] { Handle(handler); });
    }
    edtTitle_ = new QLineEdit(bar);
    edtTitle_->setObjectName("edtTitle");
    edtTitle_->setGeometry(90, 6, 257, 21);
    connect(edtTitle_, &QLineEdit::returnPressed, this,
            [this] { Handle(&TfrmBookmark::edtTitleKeyDown); });

    lstBookmark_ = new QListWidget(this);
    lstBookmark_->setObjectName("lstBookmark");
    lstBookmark_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstBookmark_->setUniformItemSizes(true);
    column->addWidget(lstBookmark_, 1);
    connect(lstBookmark_, &QListWidget::itemSelectionChanged, this,
            [this] { Handle(&TfrmBookmark::lstBookmarkClick); });

    auto* status = new QStatusBar(this);
    status->setObjectName("StatusBar1");
    auto* panel = new QLabel(status);
    panel->setObjectName("Panel0");
    status->addWidget(panel, 1);
    column->addWidget(status);
}

void TfrmBookmark::Handle(void (TfrmBookmark::*handler)()) {
    Guarded(this, [this, handler] { (this->*handler)(); });
}

void TfrmBookmark::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CenterOnScreen(*this);
}

void TfrmBookmark::SetLines(const BookmarkList& lines) {
    lstBookmark_->clear();
    ShowLines(lines, -1);
}

BookmarkList TfrmBookmark::Lines() const {
    BookmarkList lines;
    lines.reserve(static_cast<std::size_t>(lstBookmark_->count()));
    for (int row = 0; row < lstBookmark_->count(); ++row) {
        lines.push_back(LineOf(*lstBookmark_->item(row)));
    }
    return lines;
}

int TfrmBookmark::SelectedIndex() const {
    const QList<QListWidgetItem*> selected = lstBookmark_->selectedItems();
    return selected.isEmpty() ? -1 : lstBookmark_->row(selected.first());
}

void TfrmBookmark::ShowLines(const BookmarkList& lines, int selected) {
    const int count = static_cast<int>(lines.size());
    while (lstBookmark_->count() > count) {
        delete lstBookmark_->takeItem(lstBookmark_->count() - 1);
    }
    for (int row = 0; row < count; ++row) {
        const std::string& line = lines[static_cast<std::size_t>(row)];
        if (row == lstBookmark_->count()) {
            auto* item = new QListWidgetItem;
            SetLine(*item, line);
            lstBookmark_->addItem(item);
        } else if (LineOf(*lstBookmark_->item(row)) != line) {
            SetLine(*lstBookmark_->item(row), line);
        }
    }
    lstBookmark_->setCurrentRow(selected);
}

void TfrmBookmark::lstBookmarkClick() {
    const int index = SelectedIndex();
    if (index >= 0) {
        edtTitle_->setText(FromCp932(BookmarkName(LineOf(*lstBookmark_->item(index)))));
    }
}

void TfrmBookmark::edtTitleKeyDown() {
    if (edtTitle_->text().isEmpty()) {
        ShowErrorMessage(this, QString::fromUtf8("タイトルを入力してください。"));
        return;
    }
    const int index = SelectedIndex();
    if (index < 0) {
        throw ListIndexError(index);
    }
    BookmarkList lines = Lines();
    RetitleBookmark(lines, index, ToCp932(edtTitle_->text()));
    ShowLines(lines, index);
}

void TfrmBookmark::btnUpClick() {
    BookmarkList lines = Lines();
    const int selected = MoveBookmarkUp(lines, SelectedIndex());
    ShowLines(lines, selected);
}

void TfrmBookmark::btnDownClick() {
    BookmarkList lines = Lines();
    const int selected = MoveBookmarkDown(lines, SelectedIndex());
    ShowLines(lines, selected);
}

void TfrmBookmark::btnDeleteClick() {
    const int index = SelectedIndex();
    if (index >= 0) {
        delete lstBookmark_->takeItem(index);
        lstBookmark_->setCurrentRow(-1);
    }
    edtTitle_->clear();
}

}  // namespace teluri

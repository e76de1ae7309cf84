#include "bookmarks/ui/bookmark_editor.h"

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

BookmarkEditor::BookmarkEditor(QWidget* parent) : QDialog(parent) {
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
        const char* readerName;
        QPixmap glyph;
        void (BookmarkEditor::*handler)();
    };
    const Button buttons[] = {
        {"btnUp", 4, "上へ移動", UpArrowGlyph(), &BookmarkEditor::MoveSelectedUp},
        {"btnDown", 29, "下へ移動", DownArrowGlyph(), &BookmarkEditor::MoveSelectedDown},
        {"btnDelete", 58, "削除", DeleteGlyph(), &BookmarkEditor::DeleteSelected},
    };
    for (const Button& button : buttons) {
        auto* tool = new QToolButton(bar);
        tool->setObjectName(button.name);
        tool->setGeometry(button.left, 4, 25, 25);
        tool->setAutoRaise(true);
        // As speed buttons: clicking keeps the focus and the list's selection.
        tool->setFocusPolicy(Qt::NoFocus);
        tool->setIcon(QIcon(button.glyph));
        tool->setAccessibleName(QString::fromUtf8(button.readerName));
        tool->setAccessibleDescription(QString::fromUtf8("選んだブックマークを") +
                                       QString::fromUtf8(button.readerName));
        const auto handler = button.handler;
        connect(tool, &QToolButton::clicked, this, [this, handler] { Handle(handler); });
    }
    titleField_ = new QLineEdit(bar);
    titleField_->setObjectName("edtTitle");
    titleField_->setAccessibleName(QString::fromUtf8("ブックマークの名前"));
    titleField_->setAccessibleDescription(
        QString::fromUtf8("選んだブックマークの名前。Enter で変更します"));
    titleField_->setGeometry(90, 6, 257, 21);
    connect(titleField_, &QLineEdit::returnPressed, this,
            [this] { Handle(&BookmarkEditor::RenameSelected); });

    list_ = new QListWidget(this);
    list_->setObjectName("lstBookmark");
    list_->setAccessibleName(QString::fromUtf8("ブックマーク"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformItemSizes(true);
    column->addWidget(list_, 1);
    connect(list_, &QListWidget::itemSelectionChanged, this,
            [this] { Handle(&BookmarkEditor::ShowSelectedTitle); });

    auto* status = new QStatusBar(this);
    status->setObjectName("StatusBar1");
    status->setAccessibleName(QString::fromUtf8("ステータスバー"));
    auto* panel = new QLabel(status);
    panel->setObjectName("Panel0");
    status->addWidget(panel, 1);
    column->addWidget(status);
}

void BookmarkEditor::Handle(void (BookmarkEditor::*handler)()) {
    Guarded(this, [this, handler] { (this->*handler)(); });
}

void BookmarkEditor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CenterOnScreen(*this);
}

void BookmarkEditor::SetLines(const BookmarkList& lines) {
    list_->clear();
    ShowLines(lines, -1);
}

BookmarkList BookmarkEditor::Lines() const {
    BookmarkList lines;
    lines.reserve(static_cast<std::size_t>(list_->count()));
    for (int row = 0; row < list_->count(); ++row) {
        lines.push_back(LineOf(*list_->item(row)));
    }
    return lines;
}

int BookmarkEditor::SelectedIndex() const {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->row(selected.first());
}

void BookmarkEditor::ShowLines(const BookmarkList& lines, int selected) {
    const int count = static_cast<int>(lines.size());
    while (list_->count() > count) {
        delete list_->takeItem(list_->count() - 1);
    }
    for (int row = 0; row < count; ++row) {
        const std::string& line = lines[static_cast<std::size_t>(row)];
        if (row == list_->count()) {
            auto* item = new QListWidgetItem;
            SetLine(*item, line);
            list_->addItem(item);
        } else if (LineOf(*list_->item(row)) != line) {
            SetLine(*list_->item(row), line);
        }
    }
    list_->setCurrentRow(selected);
}

void BookmarkEditor::ShowSelectedTitle() {
    const int index = SelectedIndex();
    if (index >= 0) {
        titleField_->setText(FromCp932(BookmarkName(LineOf(*list_->item(index)))));
    }
}

void BookmarkEditor::RenameSelected() {
    if (titleField_->text().isEmpty()) {
        ShowErrorMessage(this, QString::fromUtf8("タイトルを入力してください。"));
        return;
    }
    const int index = SelectedIndex();
    if (index < 0) {
        throw ListIndexError(index);
    }
    BookmarkList lines = Lines();
    RetitleBookmark(lines, index, ToCp932(titleField_->text()));
    ShowLines(lines, index);
}

void BookmarkEditor::MoveSelectedUp() {
    BookmarkList lines = Lines();
    const int selected = MoveBookmarkUp(lines, SelectedIndex());
    ShowLines(lines, selected);
}

void BookmarkEditor::MoveSelectedDown() {
    BookmarkList lines = Lines();
    const int selected = MoveBookmarkDown(lines, SelectedIndex());
    ShowLines(lines, selected);
}

void BookmarkEditor::DeleteSelected() {
    const int index = SelectedIndex();
    if (index >= 0) {
        delete list_->takeItem(index);
        list_->setCurrentRow(-1);
    }
    titleField_->clear();
}

}  // namespace teluri

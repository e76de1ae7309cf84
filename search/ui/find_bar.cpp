#include "search/ui/find_bar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include "base/ui/guard.h"

namespace teluri {
namespace {

const char* const kNoOccurrence = "0 件";
const char* const kNotFoundStyle = "QLineEdit { background: #ffc8c8; }";

QToolButton* BarButton(QWidget* bar, const char* name, const char* readerName, const char* hint) {
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setAccessibleName(QString::fromUtf8(readerName));
    button->setAccessibleDescription(QString::fromUtf8(hint));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(QString::fromUtf8(hint));
    return button;
}

}  // namespace

void FindBar::showEvent(QShowEvent* event) {
    // The style reads each picture from its files at several sizes: the bar
    // is hidden at start, so the program's start does not wait for them.
    for (const auto& [button, picture] : pictures_) {
        button->setIcon(style()->standardIcon(picture));
    }
    pictures_.clear();
    QWidget::showEvent(event);
}

FindBar::FindBar(QTextEdit& page, QWidget* parent) : QWidget(parent), page_(page) {
    setObjectName("pnlFindBar");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(2);
    textField_ = new QLineEdit(this);
    textField_->setObjectName("edtFindText");
    textField_->setAccessibleName(QString::fromUtf8("ページ内を検索"));
    textField_->setAccessibleDescription(
        QString::fromUtf8("表示中のページで探す文字列。見つかった箇所に色が付きます"));
    textField_->setMaximumWidth(240);
    textField_->installEventFilter(this);
    row->addWidget(textField_);
    QToolButton* previous = BarButton(this, "btnFindPrev", "前を検索", "前を検索 (Shift+Enter)");
    QToolButton* next = BarButton(this, "btnFindNext", "次を検索", "次を検索 (Enter)");
    row->addWidget(previous);
    row->addWidget(next);
    countLabel_ = new QLabel(this);
    countLabel_->setObjectName("lblFindCount");
    countLabel_->setAccessibleName(QString::fromUtf8("見つかった数"));
    countLabel_->setMinimumWidth(70);
    row->addWidget(countLabel_);
    row->addStretch(1);
    QToolButton* close = BarButton(this, "btnFindClose", "検索バーを閉じる", "閉じる (Esc)");
    row->addWidget(close);
    pictures_ = {{previous, QStyle::SP_ArrowUp},
                 {next, QStyle::SP_ArrowDown},
                 {close, QStyle::SP_TitleBarCloseButton}};
    hide();

    connect(previous, &QToolButton::clicked, this,
            [this] { Guarded(this, [this] { Previous(); }); });
    connect(next, &QToolButton::clicked, this, [this] { Guarded(this, [this] { Next(); }); });
    connect(close, &QToolButton::clicked, this, [this] { Guarded(this, [this] { Close(); }); });
    connect(textField_, &QLineEdit::textChanged, this,
            [this] { Guarded(this, [this] { TextEdited(); }); });
    connect(&page_, &QTextEdit::textChanged, this, [this] { PageChanged(); });
    // Esc in the page closes the bar as well: a bar opened for a search hit
    // leaves the focus on the page.
    page_.installEventFilter(this);
}

QString FindBar::Text() const {
    return textField_->text();
}

QString FindBar::CountText() const {
    return countLabel_->text();
}

void FindBar::Open() {
    show();
    textField_->setFocus(Qt::ShortcutFocusReason);
    textField_->selectAll();
    Refresh(current_ >= 0 ? current_ : 0);
}

bool FindBar::OpenWith(const QString& text) {
    pageText_.reset();
    pageText_.emplace(*page_.document());
    if (pageText_->Find(NeedleOf(text)).empty()) {
        return false;
    }
    textField_->setText(text);
    show();
    Refresh(0);
    return true;
}

void FindBar::Close() {
    const bool hadFocus = textField_->hasFocus();
    hide();
    ClearHighlights(page_);
    if (hadFocus) {
        page_.setFocus(Qt::OtherFocusReason);
    }
}

void FindBar::Next() {
    Step(1);
}

void FindBar::Previous() {
    Step(-1);
}

void FindBar::Step(int by) {
    const std::vector<HighlightRange> ranges = Occurrences();
    const int total = static_cast<int>(ranges.size());
    if (total == 0) {
        if (isVisible()) {
            Refresh(-1);
        }
        return;
    }
    current_ = current_ < 0 ? (by > 0 ? 0 : total - 1) : ((current_ + by) % total + total) % total;
    if (isVisible()) {
        ShowHighlights(page_, ranges, current_);
        ShowCount(total);
    } else {
        SelectRange(page_, ranges[static_cast<std::size_t>(current_)]);
    }
}

void FindBar::TextEdited() {
    Refresh(0);
}

void FindBar::PageChanged() {
    // Loading a page replaces the document in several edits: the text is
    // found once the load is over.
    pageText_.reset();
    current_ = -1;
    if (refreshPending_) {
        return;
    }
    refreshPending_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshPending_ = false;
        if (isVisible() && !pageText_) {
            Guarded(this, [this] { Refresh(0); });
        }
    });
}

std::vector<HighlightRange> FindBar::Occurrences() {
    if (!pageText_) {
        pageText_.emplace(*page_.document());
    }
    return pageText_->Find(NeedleOf(textField_->text()));
}

void FindBar::Refresh(int current) {
    const std::vector<HighlightRange> ranges = Occurrences();
    const int total = static_cast<int>(ranges.size());
    current_ = total == 0 ? -1 : std::min(std::max(current, 0), total - 1);
    ShowHighlights(page_, ranges, current_);
    ShowCount(total);
}

void FindBar::ShowCount(int total) {
    const bool empty = textField_->text().isEmpty();
    if (empty) {
        countLabel_->clear();
    } else if (total == 0) {
        countLabel_->setText(QString::fromUtf8(kNoOccurrence));
    } else {
        countLabel_->setText(QString("%1 / %2").arg(current_ + 1).arg(total));
    }
    textField_->setStyleSheet(!empty && total == 0 ? kNotFoundStyle : "");
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == &page_ && event->type() == QEvent::KeyPress && isVisible() &&
        key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
        Close();
        return true;
    }
    if (watched != textField_) {
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::ShortcutOverride && key->matches(QKeySequence::Copy) &&
        !textField_->hasSelectedText()) {
        // Nothing selected in the field: the window's copy command takes the
        // page's selection, the current occurrence.
        event->ignore();
        return true;
    }
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        const bool back = key->modifiers().testFlag(Qt::ShiftModifier);
        Guarded(this, [this, back] { back ? Previous() : Next(); });
        return true;
    }
    if (key->key() == Qt::Key_Escape) {
        Close();
        return true;
    }
    return false;
}

}  // namespace teluri

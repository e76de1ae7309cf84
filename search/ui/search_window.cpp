#include "search/ui/search_window.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

#include "activity/ui/busy_gauge.h"
#include "base/errors.h"
#include "base/files.h"
#include "base/paths.h"
#include "base/ui/busy_cursor.h"
#include "base/ui/byte_text_item.h"
#include "base/ui/dialogs.h"
#include "base/ui/fonts.h"
#include "base/ui/guard.h"
#include "base/ui/pictures.h"
#include "base/ui/qtext.h"
#include "htmlview/ui/page_display.h"
#include "search/page_search.h"
#include "search/search_logs.h"
#include "settings/settings_file.h"

namespace teluri {
namespace {

constexpr int kDesignWidth = 428;
constexpr int kDesignHeight = 270;
constexpr int kMinimumHeight = 270;
constexpr int kStatusBarHeight = 19;

// The cp932 bytes behind a row's visible texts, and behind the history's
// entries, so that texts that do not convert for display keep their bytes.

const char* const kSearching = "検索中です．．．．";
const char* const kResults = "検索結果です";
const char* const kLogReadFailed = "検索ログの読みこみに失敗しました。";

QByteArray Bytes(const std::string& bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A row for `title`, not yet in the list: rows are added in one batch,
// which costs the list one insertion instead of one per row, and a title is
// decoded only when the list shows it.
QTreeWidgetItem* NewRow(const std::string& title) {
    return new ByteTextItem(title);
}

void SetNumber(QTreeWidgetItem& row, const std::string& number) {
    row.setText(1, FromCp932(number));
    row.setData(1, kBytesRole, Bytes(number));
}

// The rows of a search run, made as the hits come and added to the list
// when the run ends (the run holds the thread, so the list could not show
// them earlier).
class RowSink : public SearchSink {
  public:
    RowSink(QTreeWidget& list, const std::array<QIcon, 2>& icons, BusyGauge& gauge)
        : list_(list), icons_(icons), gauge_(gauge) {}
    ~RowSink() override { qDeleteAll(rows_); }

    void Step() override { gauge_.Step(); }

    void HitFound(const std::string& title) override { rows_.append(NewRow(title)); }

    void HitCompleted(const SearchHit& hit) override {
        SetNumber(*rows_.back(), hit.number);
        rows_.back()->setIcon(0, icons_[hit.kind]);
    }

    // Adds the rows made so far to the list.
    void ShowRows() {
        list_.addTopLevelItems(rows_);
        rows_.clear();
    }

  private:
    QTreeWidget& list_;
    const std::array<QIcon, 2>& icons_;
    BusyGauge& gauge_;
    QList<QTreeWidgetItem*> rows_;
};

}  // namespace

SearchWindow::SearchWindow(const Archive& archive, BusyGauge& gauge, PageDisplay& display,
                           QWidget* parent)
    : QDialog(parent), archive_(archive), gauge_(gauge), display_(display) {
    setObjectName("frmFind");
    setWindowTitle(Text("検索"));
    setFont(WindowFont());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    hitPictures_ = {QIcon(TemplePicture(16)), QIcon(BuildingsPicture(16))};

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* strip = new QWidget(this);
    strip->setObjectName("Panel1");
    auto* stripRow = new QHBoxLayout(strip);
    stripRow->setContentsMargins(8, 6, 8, 6);
    stripRow->setSpacing(8);
    textLabel_ = new QLabel(Text("検索文字列"), strip);
    textLabel_->setObjectName("Label1");
    stripRow->addWidget(textLabel_);
    searchText_ = new QComboBox(strip);
    searchText_->setObjectName("cmbFind");
    searchText_->setEditable(true);
    // The history is kept by the window's own rules: nothing is added on
    // Enter, no typed text is completed or replaced by an entry.
    searchText_->setInsertPolicy(QComboBox::NoInsert);
    searchText_->setCompleter(nullptr);
    QObject::disconnect(searchText_->lineEdit(), &QLineEdit::editingFinished, searchText_, nullptr);
    stripRow->addWidget(searchText_);
    textLabel_->setBuddy(searchText_);
    searchText_->setAccessibleName(Text("検索文字列"));
    searchText_->lineEdit()->setAccessibleName(Text("検索文字列"));
    searchText_->view()->setAccessibleName(Text("検索文字列の履歴"));
    column->addWidget(strip);
    connect(searchText_, &QComboBox::editTextChanged, this, [this](const QString& text) {
        Guarded(this, [this, &text] { ShowSavedResultOf(text); });
    });

    hitList_ = new QTreeWidget(this);
    hitList_->setObjectName("lsvFInd");
    hitList_->setAccessibleName(Text("検索結果"));
    hitList_->setAccessibleDescription(
        Text("文字列を含むページの一覧。ダブルクリックで表示します"));
    hitList_->setColumnCount(2);
    hitList_->setHeaderLabels({Text("議題"), Text("番号")});
    hitList_->setRootIsDecorated(false);
    hitList_->setItemsExpandable(false);
    hitList_->setUniformRowHeights(true);
    hitList_->setIconSize(QSize(16, 16));
    hitList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    hitList_->setSelectionMode(QAbstractItemView::SingleSelection);
    hitList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    hitList_->setSortingEnabled(false);
    hitList_->header()->setSectionsClickable(false);
    hitList_->header()->setSortIndicatorShown(false);
    hitList_->header()->setStretchLastSection(true);
    hitList_->viewport()->installEventFilter(this);
    hitList_->installEventFilter(this);
    column->addWidget(hitList_, 1);

    auto* bevel = new QFrame(this);
    bevel->setObjectName("Bevel1");
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    column->addWidget(bevel);
    auto* buttons = new QWidget(this);
    buttons->setObjectName("Panel2");
    buttons->setFixedHeight(37);
    auto* ok = new QPushButton("OK", buttons);
    ok->setObjectName("BitBtn1");
    ok->setAccessibleDescription(Text("検索を実行します"));
    ok->setGeometry(134, 6, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { Guarded(this, [this] { RunSearch(); }); });
    auto* cancel = new QPushButton(Text("ｷｬﾝｾﾙ"), buttons);
    cancel->setObjectName("BitBtn2");
    cancel->setGeometry(222, 6, 75, 25);
    cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    column->addWidget(buttons);

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName("StatusBar1");
    statusBar_->setAccessibleName(Text("ステータスバー"));
    statusBar_->setFixedHeight(kStatusBarHeight);
    statusBar_->setStyleSheet("QStatusBar::item { border: none; }");  // one flat panel
    statusPanel_ = new QLabel(statusBar_);
    statusPanel_->setObjectName("StatusPanel");
    statusBar_->addWidget(statusPanel_, 1);
    column->addWidget(statusBar_);

    resize(kDesignWidth, kDesignHeight);
    Guarded(this, [this] { FitToScreen(); });
}

void SearchWindow::FitToScreen() {
    // The box takes the strip's width beside its label.
    static_cast<QHBoxLayout*>(searchText_->parentWidget()->layout())
        ->setStretchFactor(searchText_, 1);
    // The width stays as designed; the height follows the user between the
    // design height and the screen's.
    setFixedWidth(width());
    setMinimumHeight(kMinimumHeight);
    setMaximumHeight(std::max(kMinimumHeight, ScreenGeometry().height()));
}

QString SearchWindow::StatusText() const {
    return statusPanel_->text();
}

QRect SearchWindow::MaximizedGeometry(const QRect& screen, int width) {
    return {screen.left() + (screen.width() - width) / 2, screen.top(), width, screen.height()};
}

QRect SearchWindow::ScreenGeometry() const {
    const QScreen* shown = screen();
    if (shown == nullptr) {
        shown = QGuiApplication::primaryScreen();
    }
    return shown != nullptr ? shown->geometry() : QRect(0, 0, kDesignWidth, kDesignHeight);
}

bool SearchWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        Guarded(this, [this] { ReloadHistory(); });
    }
    return QDialog::event(event);
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == hitList_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        Guarded(this, [this] { OpenSelectedHit(); });
    }
    // Enter on a selected row opens it as a double click does; without a
    // selected row it is the dialog's OK, as before.
    if (watched == hitList_ && event->type() == QEvent::KeyPress &&
        !hitList_->selectedItems().isEmpty()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Guarded(this, [this] { OpenSelectedHit(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SearchWindow::showEvent(QShowEvent* event) {
    const QRect screen = ScreenGeometry();
    setMaximumHeight(std::max(kMinimumHeight, screen.height()));
    if (isMaximized()) {
        setGeometry(MaximizedGeometry(screen, width()));
    } else {
        move(screen.left() + (screen.width() - width()) / 2,
             screen.top() + (screen.height() - height()) / 2);
    }
    QDialog::showEvent(event);
}

void SearchWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMaximized()) {
        setGeometry(MaximizedGeometry(ScreenGeometry(), width()));
    }
}

void SearchWindow::ReloadHistory() {
    std::optional<std::string> content;
    try {
        content = ReadFileIfExists(HistoryFilePath());
    } catch (const IoError&) {
        return;  // an unreadable history leaves the drop-down as it is
    }
    if (content) {
        SetHistory(ParseHistory(*content));
    }
}

std::vector<std::string> SearchWindow::History() const {
    std::vector<std::string> history;
    history.reserve(static_cast<std::size_t>(searchText_->count()));
    for (int i = 0; i < searchText_->count(); ++i) {
        history.push_back(searchText_->itemData(i, kBytesRole).toByteArray().toStdString());
    }
    return history;
}

void SearchWindow::SetHistory(const std::vector<std::string>& history) {
    const QSignalBlocker blocker(searchText_);
    const QString text = searchText_->currentText();
    searchText_->clear();
    for (const std::string& entry : history) {
        searchText_->addItem(FromCp932(entry), Bytes(entry));
    }
    searchText_->setCurrentIndex(-1);
    searchText_->setEditText(text);
}

void SearchWindow::SetStatus(const QString& text) {
    statusPanel_->setText(text);
}

void SearchWindow::FitTitleColumn() {
    hitList_->resizeColumnToContents(0);
}

void SearchWindow::RunSearch() {
    const std::string text = OneLineSearchText(ToCp932(searchText_->currentText()));
    std::vector<std::string> history = History();
    if (AddToHistory(history, text)) {
        SetHistory(history);
    }
    // The history is a convenience: a file that cannot be written is no
    // reason to stop the search.
    (void)WriteHistory(history);

    const std::vector<std::string> names = archive_.files.Names();
    if (names.empty()) {
        return;
    }
    SetStatus(Text(kSearching));
    hitList_->clear();
    std::vector<SearchHit> hits;
    bool save = true;
    {
        BusyCursor busy;
        repaint();
        save = SettingsFile(SettingsFilePath()).ReadFlag("FindList", "Save", true);
        const std::string folder = IncludeTrailingDelimiter(archive_.files.Folder());
        RowSink sink(*hitList_, hitPictures_, gauge_);
        try {
            hits = SearchPages(folder, names, text, sink);
        } catch (...) {
            // The rows found so far stay; the window no longer says it is
            // searching, and the error is shown once the cursor is back.
            sink.ShowRows();
            gauge_.Reset();
            SetStatus(QString());
            FitTitleColumn();
            throw;
        }
        sink.ShowRows();
        gauge_.Reset();
        SetStatus(Text(kResults));
        FitTitleColumn();
    }
    if (save) {
        WriteSearchLog(text, hits);
    }
}

void SearchWindow::ShowSavedResultOf(const QString& typed) {
    std::string text;
    try {
        text = OneLineSearchText(ToCp932(typed));
    } catch (const EncodingError&) {
        return;  // logs are named after cp932 texts: there is none for this one
    }
    const std::string logFile = SearchLogPath(text);
    if (!FileExists(logFile)) {
        return;
    }
    std::optional<std::string> content;
    try {
        content = ReadFileIfExists(logFile);
    } catch (const IoError&) {
    }
    if (!content) {
        ShowErrorMessage(this, Text(kLogReadFailed));
        return;
    }
    const std::vector<LogRow> rows = ParseSearchLog(*content);
    BusyCursor busy;
    hitList_->clear();
    QList<QTreeWidgetItem*> items;
    for (const LogRow& row : rows) {
        QTreeWidgetItem* item = NewRow(row.title);
        if (row.number) {
            SetNumber(*item, *row.number);
        }
        item->setIcon(0, hitPictures_[row.kind]);
        items.append(item);
    }
    hitList_->addTopLevelItems(items);
    FitTitleColumn();
}

void SearchWindow::OpenSelectedHit() {
    const QList<QTreeWidgetItem*> selected = hitList_->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const QVariant number = selected.front()->data(1, kBytesRole);
    if (!number.isValid()) {
        // A row without a number column (a log cut short, or a hit whose
        // number stopped the run) has no page to open.
        throw ListIndexError(0);
    }
    const std::string folder = IncludeTrailingDelimiter(archive_.files.Folder());
    const std::string page = PageFile(folder, PageNumberOf(number.toByteArray().toStdString()));
    display_.LoadUrl(QString::fromStdString(PageUrl(page)));
    emit hitOpened(searchText_->currentText());
    close();
    display_.Widget()->setFocus();
}

}  // namespace teluri

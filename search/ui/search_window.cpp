#include "search/ui/search_window.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <utility>

#include "activity/ui/busy_gauge.h"
#include "base/errors.h"
#include "base/files.h"
#include "base/paths.h"
#include "base/ui/busy_cursor.h"
#include "base/ui/bytes_role.h"
#include "base/ui/dialogs.h"
#include "base/ui/fonts.h"
#include "base/ui/guard.h"
#include "base/ui/pictures.h"
#include "base/ui/qtext.h"
#include "htmlview/ui/page_display.h"
#include "search/hit_rows.h"
#include "search/page_search.h"
#include "search/search_logs.h"
#include "search/ui/hit_list_model.h"
#include "search/ui/hit_preview.h"
#include "search/ui/search_window_memory.h"
#include "settings/settings_file.h"

namespace teluri {
namespace {

constexpr int kDesignWidth = 428;
constexpr int kDesignHeight = 270;
constexpr int kMinimumHeight = 270;
constexpr int kStatusBarHeight = 19;

const char* const kSearching = "検索中です．．．．";
const char* const kResults = "検索結果です";
const char* const kLogReadFailed = "検索ログの読みこみに失敗しました。";
const char* const kHitCount = "%1 件";
const char* const kNoHits = "検索結果がありません";
const char* const kNoNextHit = "次の検索結果はありません";
const char* const kNoPreviousHit = "前の検索結果はありません";

QByteArray Bytes(const std::string& bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The rows of a search run, kept as the hits come and shown when the run
// ends (the run holds the thread, so the list could not show them earlier).
class RowSink : public SearchSink {
  public:
    explicit RowSink(BusyGauge& gauge) : gauge_(gauge) {}

    void Step() override { gauge_.Step(); }
    void HitFound(const std::string& title) override { rows_.Add(title); }
    void HitCompleted(const SearchHit& hit) override { rows_.CompleteLast(hit); }

    // The rows so far, taken out.
    HitRows TakeRows() { return std::exchange(rows_, HitRows()); }

  private:
    BusyGauge& gauge_;
    HitRows rows_;
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

    hitList_ = new QTreeView(this);
    hitList_->setObjectName("lsvFInd");
    hits_ = new HitListModel({QIcon(TemplePicture(16)), QIcon(BuildingsPicture(16))}, hitList_);
    hitList_->setModel(hits_);
    hitList_->setAccessibleName(Text("検索結果"));
    hitList_->setAccessibleDescription(
        Text("文字列を含むページの一覧。ダブルクリックで表示します"));
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
    hitList_->header()->setResizeContentsPrecision(0);  // the rows in view
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
    countPanel_ = new QLabel(statusBar_);
    countPanel_->setObjectName("CountPanel");
    countPanel_->setContentsMargins(8, 0, 8, 0);
    statusBar_->addPermanentWidget(countPanel_);
    column->addWidget(statusBar_);

    preview_ = new HitPreview(*hitList_, archive_);
    connect(preview_, &HitPreview::rowWanted, this,
            [this](int row) { Guarded(this, [this, row] { PreviewRow(row); }); });
    new SearchWindowMemory(*this);

    resize(kDesignWidth, kDesignHeight);
    Guarded(this, [this] { FitToScreen(); });
}

void SearchWindow::FitToScreen() {
    // The box takes the strip's width beside its label.
    static_cast<QHBoxLayout*>(searchText_->parentWidget()->layout())
        ->setStretchFactor(searchText_, 1);
    // The user sizes the window from its design size up to the screen's.
    setMinimumSize(kDesignWidth, kMinimumHeight);
}

QString SearchWindow::StatusText() const {
    return statusPanel_->text();
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
        hitList_->selectionModel()->hasSelection()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Guarded(this, [this] { OpenSelectedHit(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
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

void SearchWindow::ShowHitCount() {
    countPanel_->setText(QString::fromUtf8(kHitCount).arg(RowCount()));
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
    hits_->SetRows({});
    listedText_ = text;
    std::vector<SearchHit> hits;
    bool save = true;
    {
        BusyCursor busy;
        repaint();
        save = SettingsFile(SettingsFilePath()).ReadFlag("FindList", "Save", true);
        const std::string folder = IncludeTrailingDelimiter(archive_.files.Folder());
        RowSink sink(gauge_);
        try {
            hits = SearchPages(folder, names, text, sink);
        } catch (...) {
            // The rows found so far stay; the window no longer says it is
            // searching, and the error is shown once the cursor is back.
            hits_->SetRows(sink.TakeRows());
            gauge_.Reset();
            SetStatus(QString());
            ShowHitCount();
            FitTitleColumn();
            throw;
        }
        hits_->SetRows(sink.TakeRows());
        gauge_.Reset();
        SetStatus(Text(kResults));
        ShowHitCount();
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
    std::optional<HitRows> rows;
    {
        BusyCursor busy;
        std::optional<std::string> content;
        try {
            content = ReadFileIfExists(logFile);
        } catch (const IoError&) {
        }
        // The rows keep the log's bytes: a log too large for them fails as
        // an unreadable one does.
        if (content) {
            rows = HitRows::FromLog(std::move(*content));
        }
        if (rows) {
            hits_->SetRows(std::move(*rows));
            FitTitleColumn();
        }
    }
    if (!rows) {
        ShowErrorMessage(this, Text(kLogReadFailed));
        return;
    }
    listedText_ = text;
    ShowHitCount();
}

void SearchWindow::OpenSelectedHit() {
    const QModelIndexList selected = hitList_->selectionModel()->selectedRows(1);
    if (selected.isEmpty()) {
        return;
    }
    OpenHitOfRow(selected.front().row());
    emit hitOpened(searchText_->currentText());
    close();
    display_.Widget()->setFocus();
}

void SearchWindow::OpenHitOfRow(int row) {
    const ListedHit hit = HitOfRow(row);
    if (!hit.number) {
        // A row without a number column (a log cut short, or a hit whose
        // number stopped the run) has no page to open.
        throw ListIndexError(0);
    }
    const std::string folder = IncludeTrailingDelimiter(archive_.files.Folder());
    const std::string page = PageFile(folder, PageNumberOf(*hit.number));
    display_.LoadUrl(QString::fromStdString(PageUrl(page)));
}

void SearchWindow::StepHit(int step) {
    const int count = RowCount();
    const QModelIndex current = hitList_->currentIndex();
    const int row = current.isValid() ? current.row() + step : (step > 0 ? step - 1 : count + step);
    if (count == 0 || row < 0 || row >= count) {
        emit hitStepEnded(Text(count == 0 ? kNoHits : step > 0 ? kNoNextHit : kNoPreviousHit));
        return;
    }
    hitList_->setCurrentIndex(hitList_->model()->index(row, 0));
    OpenHitOfRow(row);
    emit hitStepped();
    emit hitOpened(FromCp932(listedText_));
}

SearchWindow::ListedHit SearchWindow::HitOfRow(int row) const {
    const HitRows& rows = hits_->Rows();
    const auto index = static_cast<std::size_t>(row);
    ListedHit hit;
    hit.title = std::string(rows.Title(index));
    if (const std::optional<std::string_view> number = rows.Number(index)) {
        hit.number = std::string(*number);
    }
    return hit;
}

int SearchWindow::RowCount() const {
    return hits_->rowCount();
}

void SearchWindow::PreviewRow(int row) {
    const ListedHit hit = HitOfRow(row);
    if (hit.number) {
        preview_->Show(row, *hit.number, hit.title, listedText_);
    } else {
        preview_->Hide();
    }
}

}  // namespace teluri

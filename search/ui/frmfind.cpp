#include "search/ui/frmfind.h"

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
#include "htmlview/ihtml.h"
#include "search/findfiles.h"
#include "search/pagesearch.h"
#include "settings/inifile.h"

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

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

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
    RowSink(QTreeWidget& list, const std::array<QIcon, 2>& icons, const FindHost& host)
        : list_(list), icons_(icons), host_(host) {}
    ~RowSink() override { qDeleteAll(rows_); }

    void Step() override { host_.stepGauge(); }

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
    const FindHost& host_;
    QList<QTreeWidgetItem*> rows_;
};

}  // namespace

TfrmFind::TfrmFind(FindHost host, QWidget* parent) : QDialog(parent), host_(std::move(host)) {
    setObjectName("frmFind");
    setWindowTitle(Text("検索"));
    setFont(WindowFont());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    ImageList1_ = {QIcon(TemplePicture(16)), QIcon(BuildingsPicture(16))};

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* strip = new QWidget(this);
    strip->setObjectName("Panel1");
    auto* stripRow = new QHBoxLayout(strip);
    stripRow->setContentsMargins(8, 6, 8, 6);
    stripRow->setSpacing(8);
    Label1_ = new QLabel(Text("検索文字列"), strip);
    Label1_->setObjectName("Label1");
    stripRow->addWidget(Label1_);
    cmbFind_ = new QComboBox(strip);
    cmbFind_->setObjectName("cmbFind");
    cmbFind_->setEditable(true);
    // The history is kept by the window's own rules: nothing is added on
    // Enter, no typed text is completed or replaced by an entry.
    cmbFind_->setInsertPolicy(QComboBox::NoInsert);
    cmbFind_->setCompleter(nullptr);
    QObject::disconnect(cmbFind_->lineEdit(), &QLineEdit::editingFinished, cmbFind_, nullptr);
    stripRow->addWidget(cmbFind_);
    Label1_->setBuddy(cmbFind_);
    column->addWidget(strip);
    connect(cmbFind_, &QComboBox::editTextChanged, this,
            [this](const QString& text) { Guarded(this, [this, &text] { cmbFindChange(text); }); });

    lsvFInd_ = new QTreeWidget(this);
    lsvFInd_->setObjectName("lsvFInd");
    lsvFInd_->setColumnCount(2);
    lsvFInd_->setHeaderLabels({Text("議題"), Text("番号")});
    lsvFInd_->setRootIsDecorated(false);
    lsvFInd_->setItemsExpandable(false);
    lsvFInd_->setUniformRowHeights(true);
    lsvFInd_->setIconSize(QSize(16, 16));
    lsvFInd_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lsvFInd_->setSelectionMode(QAbstractItemView::SingleSelection);
    lsvFInd_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lsvFInd_->setSortingEnabled(false);
    lsvFInd_->header()->setSectionsClickable(false);
    lsvFInd_->header()->setSortIndicatorShown(false);
    lsvFInd_->header()->setStretchLastSection(true);
    lsvFInd_->viewport()->installEventFilter(this);
    lsvFInd_->installEventFilter(this);
    column->addWidget(lsvFInd_, 1);

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
    ok->setGeometry(134, 6, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { Guarded(this, [this] { BitBtn1Click(); }); });
    auto* cancel = new QPushButton(Text("ｷｬﾝｾﾙ"), buttons);
    cancel->setObjectName("BitBtn2");
    cancel->setGeometry(222, 6, 75, 25);
    cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    column->addWidget(buttons);

    StatusBar1_ = new QStatusBar(this);
    StatusBar1_->setObjectName("StatusBar1");
    StatusBar1_->setFixedHeight(kStatusBarHeight);
    StatusBar1_->setStyleSheet("QStatusBar::item { border: none; }");  // one flat panel
    StatusPanel_ = new QLabel(StatusBar1_);
    StatusPanel_->setObjectName("StatusPanel");
    StatusBar1_->addWidget(StatusPanel_, 1);
    column->addWidget(StatusBar1_);

    resize(kDesignWidth, kDesignHeight);
    Guarded(this, [this] { FormCreate(); });
}

void TfrmFind::FormCreate() {
    // The box takes the strip's width beside its label.
    static_cast<QHBoxLayout*>(cmbFind_->parentWidget()->layout())->setStretchFactor(cmbFind_, 1);
    // The width stays as designed; the height follows the user between the
    // design height and the screen's.
    setFixedWidth(width());
    setMinimumHeight(kMinimumHeight);
    setMaximumHeight(std::max(kMinimumHeight, ScreenGeometry().height()));
}

QString TfrmFind::StatusText() const {
    return StatusPanel_->text();
}

QRect TfrmFind::MaximizedGeometry(const QRect& screen, int width) {
    return {screen.left() + (screen.width() - width) / 2, screen.top(), width, screen.height()};
}

QRect TfrmFind::ScreenGeometry() const {
    const QScreen* shown = screen();
    if (shown == nullptr) {
        shown = QGuiApplication::primaryScreen();
    }
    return shown != nullptr ? shown->geometry() : QRect(0, 0, kDesignWidth, kDesignHeight);
}

bool TfrmFind::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        Guarded(this, [this] { FormActivate(); });
    }
    return QDialog::event(event);
}

bool TfrmFind::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lsvFInd_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        Guarded(this, [this] { lsvFIndDblClick(); });
    }
    // Enter on a selected row opens it as a double click does; without a
    // selected row it is the dialog's OK, as before.
    if (watched == lsvFInd_ && event->type() == QEvent::KeyPress &&
        !lsvFInd_->selectedItems().isEmpty()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Guarded(this, [this] { lsvFIndDblClick(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmFind::showEvent(QShowEvent* event) {
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

void TfrmFind::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMaximized()) {
        setGeometry(MaximizedGeometry(ScreenGeometry(), width()));
    }
}

void TfrmFind::FormActivate() {
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

std::vector<std::string> TfrmFind::History() const {
    std::vector<std::string> history;
    history.reserve(static_cast<std::size_t>(cmbFind_->count()));
    for (int i = 0; i < cmbFind_->count(); ++i) {
        history.push_back(cmbFind_->itemData(i, kBytesRole).toByteArray().toStdString());
    }
    return history;
}

void TfrmFind::SetHistory(const std::vector<std::string>& history) {
    const QSignalBlocker blocker(cmbFind_);
    const QString text = cmbFind_->currentText();
    cmbFind_->clear();
    for (const std::string& entry : history) {
        cmbFind_->addItem(FromCp932(entry), Bytes(entry));
    }
    cmbFind_->setCurrentIndex(-1);
    cmbFind_->setEditText(text);
}

void TfrmFind::SetStatus(const QString& text) {
    StatusPanel_->setText(text);
}

void TfrmFind::FitTitleColumn() {
    lsvFInd_->resizeColumnToContents(0);
}

void TfrmFind::BitBtn1Click() {
    const std::string text = OneLineSearchText(ToCp932(cmbFind_->currentText()));
    std::vector<std::string> history = History();
    if (AddToHistory(history, text)) {
        SetHistory(history);
    }
    // The history is a convenience: a file that cannot be written is no
    // reason to stop the search.
    (void)WriteHistory(history);

    const std::vector<std::string> names = host_.fileNames();
    if (names.empty()) {
        return;
    }
    SetStatus(Text(kSearching));
    lsvFInd_->clear();
    std::vector<SearchHit> hits;
    bool save = true;
    {
        BusyCursor busy;
        repaint();
        save = TIniFile(SettingsFilePath()).ReadFlag("FindList", "Save", true);
        const std::string folder = IncludeTrailingDelimiter(host_.fileFolder());
        RowSink sink(*lsvFInd_, ImageList1_, host_);
        try {
            hits = SearchPages(folder, names, text, sink);
        } catch (...) {
            // The rows found so far stay; the window no longer says it is
            // searching, and the error is shown once the cursor is back.
            sink.ShowRows();
            host_.resetGauge();
            SetStatus(QString());
            FitTitleColumn();
            throw;
        }
        sink.ShowRows();
        host_.resetGauge();
        SetStatus(Text(kResults));
        FitTitleColumn();
    }
    if (save) {
        WriteSearchLog(text, hits);
    }
}

void TfrmFind::cmbFindChange(const QString& typed) {
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
    lsvFInd_->clear();
    QList<QTreeWidgetItem*> items;
    for (const LogRow& row : rows) {
        QTreeWidgetItem* item = NewRow(row.title);
        if (row.number) {
            SetNumber(*item, *row.number);
        }
        item->setIcon(0, ImageList1_[row.kind]);
        items.append(item);
    }
    lsvFInd_->addTopLevelItems(items);
    FitTitleColumn();
}

void TfrmFind::lsvFIndDblClick() {
    const QList<QTreeWidgetItem*> selected = lsvFInd_->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const QVariant number = selected.front()->data(1, kBytesRole);
    if (!number.isValid()) {
        // A row without a number column (a log cut short, or a hit whose
        // number stopped the run) has no page to open.
        throw ListIndexError(0);
    }
    const std::string folder = IncludeTrailingDelimiter(host_.fileFolder());
    const std::string page = PageFile(folder, PageNumberOf(number.toByteArray().toStdString()));
    IHTML& html = host_.html();
    html.LoadUrl(QString::fromStdString(PageUrl(page)));
    if (host_.hitShown) {
        host_.hitShown(cmbFind_->currentText());
    }
    close();
    html.Widget()->setFocus();
}

}  // namespace teluri

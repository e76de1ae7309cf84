// The search window on its own, with a stand-in for the main window, under
// the offscreen platform.
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>

#include <unistd.h>

#include <filesystem>

#include "activity/ui/busy_gauge.h"
#include "base/errors.h"
#include "base/paths.h"
#include "base/ui/dialogs.h"
#include "base/ui/pictures.h"
#include "base/ui/qtext.h"
#include "htmlview/ui/page_view.h"
#include "search/ui/hit_list_model.h"
#include "search/ui/search_window.h"
#include "tests/support/pages.h"
#include "tests/ui/counting_gauge.h"
#include "tests/ui/ui_support.h"

namespace teluri {
namespace {

using test::FirstLine;
using test::ReadFile;
using test::Sjis;
using test::WriteFile;

// The main window's display, which can be told to fail.
class Display : public PageView {
  public:
    explicit Display(QWidget* parent) : PageView(parent) {}
    void LoadUrl(const QString& url) override {
        if (fail) {
            throw IoError("cannot show the page");
        }
        PageView::LoadUrl(url);
    }
    bool fail = false;
};

// A page whose text outside its first line holds no word of the tests.
std::string Msg(std::string_view number, std::string_view title) {
    return FirstLine(number, title) + "\r\n<p>body</p>\r\n";
}

bool SameIcon(const QIcon& icon, const QPixmap& picture) {
    return !icon.isNull() && icon.pixmap(16, 16).toImage() == picture.toImage();
}

}  // namespace

class FindWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::UiFixture> fixture_;
    // The display's window, where a neighbour has the focus at first.
    std::unique_ptr<QWidget> htmlWindow_;
    Display* html_ = nullptr;
    std::unique_ptr<SearchWindow> window_;
    Archive archive_;
    std::unique_ptr<test::CountingGauge> gauge_;

    test::UiFixture& fixture() { return *fixture_; }
    QComboBox& combo() { return *window_->findChild<QComboBox*>("cmbFind"); }
    QTreeView& list() { return *window_->findChild<QTreeView*>("lsvFInd"); }
    HitListModel& rows() { return *static_cast<HitListModel*>(list().model()); }
    int rowCount() { return rows().rowCount(); }
    QModelIndex row(int index) { return rows().index(index, 0); }
    QIcon icon(int index) { return row(index).data(Qt::DecorationRole).value<QIcon>(); }
    QPushButton& button(const char* name) { return *window_->findChild<QPushButton*>(name); }

    void createWindow() {
        window_ = std::make_unique<SearchWindow>(archive_, *gauge_, *html_);
        window_->show();
        activate();
    }

    // The window becomes the active window, as at every opening.
    void activate() {
        QEvent event(QEvent::WindowActivate);
        QCoreApplication::sendEvent(window_.get(), &event);
    }

    // Pages of the data folder, listed in name order like the file list.
    void writePages() {
        WriteFile(fixture().DataFile("0042.msg"), Msg("0042", "Delphi small"));
        WriteFile(fixture().DataFile("1001.msg"), Msg("1001", Sjis("C++Builderの質問")));
        WriteFile(fixture().DataFile("1002.bak"), Msg("1002", "backup"));
        WriteFile(fixture().DataFile("1003.MSG"), Msg("1003", "C++ only"));
        WriteFile(fixture().DataFile("1004.msg"), Msg("1004", "no hit"));
        listPages();
    }

    // The file list takes the data folder's pages.
    void listPages() { archive_.files.SetFolder(fixture().Data()); }

    // A text typed or pasted in one change.
    void type(const QString& text) { combo().setEditText(text); }

    // Types the text and presses Enter.
    void search(const QString& text) {
        type(text);
        QTest::keyClick(combo().lineEdit(), Qt::Key_Return);
    }

    QStringList column(int index) {
        QStringList texts;
        for (int i = 0; i < rowCount(); ++i) {
            texts.append(rows().index(i, index).data().toString());
        }
        return texts;
    }

    QStringList history() {
        QStringList entries;
        for (int i = 0; i < combo().count(); ++i) {
            entries.append(combo().itemText(i));
        }
        return entries;
    }

    void doubleClickRow(int index) {
        list().setCurrentIndex(row(index));
        const QPoint at = list().visualRect(row(index)).center();
        QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, at);
    }

  private slots:
    void init() {
        fixture_ = std::make_unique<test::UiFixture>();
        htmlWindow_ = std::make_unique<QWidget>();
        html_ = new Display(htmlWindow_.get());
        (new QLineEdit(htmlWindow_.get()))->setFocus();
        archive_.files = PageFileList();
        gauge_ = std::make_unique<test::CountingGauge>();
    }

    void cleanup() {
        window_.reset();
        htmlWindow_.reset();
        fixture_.reset();
    }

    void layoutAndSizeRule() {
        createWindow();
        QVERIFY(combo().geometry().right() > 400);  // spans the window beside its label
        QVERIFY(!list().isSortingEnabled());
        QVERIFY(!list().header()->sectionsClickable());
        QCOMPARE(window_->findChild<QStatusBar*>("StatusBar1")->height(), 19);
        QCOMPARE(window_->StatusText(), QString());
        // Centred on the screen at first; never smaller than designed.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(window_->pos(), QPoint((screen.width() - 428) / 2, (screen.height() - 270) / 2));
        QCOMPARE(window_->size(), QSize(428, 270));
        window_->resize(300, 100);
        QCOMPARE(window_->size(), QSize(428, 270));
    }

    void searchShowsHitsAndSavesTheLog() {
        writePages();
        createWindow();
        search("c++");
        QVERIFY(window_->isVisible());
        QCOMPARE(column(0), QStringList({Text("C++Builderの質問"), "C++ only"}));
        QCOMPARE(column(1), QStringList({"1001", "1003"}));
        QVERIFY(SameIcon(icon(0), BuildingsPicture(16)));
        QVERIFY(SameIcon(icon(1), TemplePicture(16)));
        QCOMPARE(window_->StatusText(), Text("検索結果です"));
        QCOMPARE(gauge_->steps, 5);
        QCOMPARE(gauge_->resets, 1);
        QCOMPARE(ReadFile(fixture().HomeFile("Findc++.dat")),
                 Sjis("C++Builderの質問") + "\r\n1001\r\nBCB\r\nC++ only\r\n1003\r\nDLP\r\n");
        // The title column fits its widest entry; the number column the rest.
        const int widest = list().fontMetrics().horizontalAdvance(column(0)[0]) + 16;
        QVERIFY(list().columnWidth(0) >= widest && list().columnWidth(0) < widest + 60);

        // While searching: the status says so, the old rows are gone and the
        // cursor is the hourglass.
        QString status;
        int rows = -1;
        Qt::CursorShape cursor = Qt::ArrowCursor;
        gauge_->onStep = [&] {
            status = window_->StatusText();
            rows = rows < 0 ? rowCount() : rows;
            cursor = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                                    : Qt::ArrowCursor;
        };
        search("Kylix");
        QCOMPARE(status, Text("検索中です．．．．"));
        QCOMPARE(rows, 0);
        QCOMPARE(cursor, Qt::WaitCursor);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(ReadFile(fixture().HomeFile("FindKylix.dat")), std::string());

        // Save=0: no log. An empty file list: nothing searched, rows stay.
        WriteFile(fixture().HomeFile("Teluri.ini"), "[findlist]\r\nSAVE=0\r\n");
        search("small");
        QCOMPARE(column(1), QStringList({"42"}));
        QVERIFY(!std::filesystem::exists(fixture().HomeFile("Findsmall.dat")));
        archive_.files = PageFileList();
        search("other");
        QCOMPARE(column(1), QStringList({"42"}));
        QVERIFY(fixture().messages.empty());
    }

    void historyRules() {
        // 0x85 0x40 is no character: shown as a mark, written back unchanged.
        WriteFile(fixture().HomeFile("finddata.txt"), "Delphi\r\n\r\nb\x85\x40");
        writePages();
        createWindow();
        QCOMPARE(combo().count(), 3);
        QCOMPARE(combo().currentText(), QString());
        // An entry equal but for letter case keeps its place and case, and
        // the typed text is not replaced by it.
        search("DELPHI");
        QCOMPARE(combo().currentText(), QString("DELPHI"));
        QVERIFY(std::filesystem::exists(fixture().HomeFile("FindDELPHI.dat")));
        QCOMPARE(ReadFile(fixture().HomeFile("finddata.txt")),
                 std::string("Delphi\r\n\r\nb\x85\x40\r\n"));
        search(Text("質問"));
        QCOMPARE(ReadFile(fixture().HomeFile("finddata.txt")),
                 Sjis("質問") + "\r\nDelphi\r\n\r\nb\x85\x40\r\n");
        QCOMPARE(combo().itemText(0), Text("質問"));
        // Each activation takes the file's entries and keeps the text; no
        // file leaves the entries.
        WriteFile(fixture().HomeFile("finddata.txt"), "only\r\n");
        WriteFile(fixture().HomeFile("Find質問.dat"), "other\r\n");
        activate();
        QCOMPARE(history(), QStringList({"only"}));
        QCOMPARE(combo().currentText(), Text("質問"));
        QCOMPARE(column(0), QStringList({Text("C++Builderの質問")}));  // no log shown again
        std::filesystem::remove(fixture().HomeFile("finddata.txt"));
        activate();
        QCOMPARE(history(), QStringList({"only"}));
        // A history that cannot be written does not stop the search.
        std::filesystem::create_directory(fixture().HomeFile("finddata.txt"));
        search("small");
        QCOMPARE(history(), QStringList({"small", "only"}));
        QCOMPARE(column(1), QStringList({"42"}));
        QVERIFY(fixture().messages.empty());
        // A text without a cp932 form: an error, nothing else.
        search(Text("😀"));
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QCOMPARE(history(), QStringList({"small", "only"}));
    }

    // A pasted line break becomes a blank: one history line, and the log
    // is named after that line, so the drop-down leads back to it.
    void lineBreaksInTheTextBecomeBlanks() {
        WriteFile(fixture().DataFile("1001.msg"), Msg("1001", "Del phi"));
        listPages();
        createWindow();
        search("Del\nphi");
        QCOMPARE(history(), QStringList({"Del phi"}));
        QCOMPARE(ReadFile(fixture().HomeFile("finddata.txt")), std::string("Del phi\r\n"));
        QVERIFY(std::filesystem::exists(fixture().HomeFile("FindDel phi.dat")));
        QCOMPARE(column(1), QStringList({"1001"}));
        rows().SetRows({});
        combo().setCurrentIndex(0);
        QCOMPARE(column(1), QStringList({"1001"}));
        search("Del\r\nphi");
        QCOMPARE(history(), QStringList({"Del  phi", "Del phi"}));
    }

    // The history file is read up to a NUL byte; before the first search
    // writes it back, the file as it was is kept beside it.
    void historyWithANulIsKeptBeforeItIsWritten() {
        const std::string original("old\r\n\0lost?\r\n", 14);
        WriteFile(fixture().HomeFile("finddata.txt"), original);
        writePages();
        createWindow();
        QCOMPARE(history(), QStringList({"old"}));
        search("small");
        QCOMPARE(ReadFile(fixture().HomeFile("finddata.txt")), std::string("small\r\nold\r\n"));
        QCOMPARE(ReadFile(fixture().HomeFile("finddata.txt.nul")), original);
        search("other");
        QVERIFY(!std::filesystem::exists(fixture().HomeFile("finddata.txt.nul1")));
    }

    void storedLogsAreShownAsTheTextChanges() {
        writePages();
        createWindow();
        search("Delphi");
        WriteFile(fixture().HomeFile("FindD.dat"), "d-row\r\n7\r\nBCB\r\n");
        WriteFile(fixture().HomeFile("Findone.dat"), "a\r\n1\r\nBCB\r\nb\r\n");  // 3k + 1
        WriteFile(fixture().HomeFile("Findtwo.dat"), "a\r\n1\r\nbcb\r\nb\n2");   // 3k + 2
        window_->findChild<QLabel*>("StatusPanel")->setText("kept");
        // After each letter, the log of the text so far, if there is one.
        combo().lineEdit()->clear();
        QTest::keyClicks(combo().lineEdit(), "D");
        QCOMPARE(column(0), QStringList({"d-row"}));
        QVERIFY(SameIcon(icon(0), BuildingsPicture(16)));
        QTest::keyClicks(combo().lineEdit(), "elph");
        QCOMPARE(column(0), QStringList({"d-row"}));
        QTest::keyClicks(combo().lineEdit(), "i");
        QCOMPARE(column(0), QStringList({"Delphi small"}));
        QCOMPARE(column(1), QStringList({"42"}));
        QVERIFY(SameIcon(icon(0), TemplePicture(16)));
        QCOMPARE(window_->StatusText(), QString("kept"));
        // Short last records keep what they have; no kind line: the temple.
        type("one");
        QCOMPARE(column(0), QStringList({"a", "b"}));
        QCOMPARE(column(1), QStringList({"1", ""}));
        QVERIFY(SameIcon(icon(1), TemplePicture(16)));
        doubleClickRow(1);  // no number: nothing to open
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QVERIFY(html_->DocumentUrl().isEmpty());
        type("two");
        QCOMPARE(column(1), QStringList({"1", "2"}));
        QVERIFY(SameIcon(icon(0), TemplePicture(16)));
        // Choosing an entry of the drop-down shows its log too.
        combo().setCurrentIndex(combo().findText("Delphi"));
        QCOMPARE(column(0), QStringList({"Delphi small"}));

        // A log that cannot be read: the message, the rows stay.
        std::filesystem::permissions(fixture().HomeFile("Findone.dat"),
                                     std::filesystem::perms::none);
        const bool root = ::geteuid() == 0;
        QVERIFY(!root || ::seteuid(65534) == 0);  // so that the file's mode counts
        type("one");
        QVERIFY(!root || ::seteuid(0) == 0);
        QCOMPARE(fixture().messages.size(), std::size_t{2});
        QCOMPARE(fixture().messages[1].caption, Text("ｴﾗｰ"));
        QCOMPARE(fixture().messages[1].icon, QMessageBox::Critical);
        QCOMPARE(fixture().messages[1].text, Text("検索ログの読みこみに失敗しました。"));
        QCOMPARE(column(0), QStringList({"Delphi small"}));
    }

    void badPageStopsTheRunAndTheWindowGoesOn() {
        writePages();
        WriteFile(fixture().DataFile("1003.MSG"), FirstLine("10x3", "C++ bad") + "\r\n");
        createWindow();
        search("C++");
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QCOMPARE(fixture().messages[0].caption, QString(kApplicationTitle));
        QCOMPARE(fixture().messages[0].text,
                 Text("'10x3' は整数ではありません\n") +
                     QString::fromStdString(fixture().DataFile("1003.MSG")));
        // The rows before stay; the failing page's row has its title only.
        QCOMPARE(column(0), QStringList({Text("C++Builderの質問"), "C++ bad"}));
        QCOMPARE(column(1), QStringList({"1001", ""}));
        QCOMPARE(window_->StatusText(), QString());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(gauge_->resets, 1);
        QVERIFY(!std::filesystem::exists(fixture().HomeFile("FindC++.dat")));
        // That row opens nothing; the window goes on working.
        doubleClickRow(1);
        QCOMPARE(fixture().messages.size(), std::size_t{2});
        QVERIFY(html_->DocumentUrl().isEmpty());
        QVERIFY(window_->isVisible());
        search("small");
        QCOMPARE(window_->StatusText(), Text("検索結果です"));

        // A log that cannot be written: the error once the result is shown.
        std::filesystem::create_directory(fixture().HomeFile("Findno hit.dat"));
        QString status;
        int rows = -1;
        Dialogs().messageBox = [&](QWidget*, QMessageBox::Icon, const QString&,
                                   const QString& text) {
            fixture().messages.push_back({QMessageBox::Critical, QString(), text});
            status = window_->StatusText();
            rows = rowCount();
        };
        search("no hit");
        QVERIFY(fixture().messages.back().text.contains("Findno hit.dat"));
        QCOMPARE(status, Text("検索結果です"));
        QCOMPARE(rows, 1);
    }

    // A saved log of millions of hits used to take 45 times its size as
    // list rows and hold the window for seconds: the rows now keep the
    // log's bytes and a few bytes per row, and only the rows shown are
    // decoded.
    void largeLogTakesMemoryOfTheOrderOfItsSize() {
        std::string log;
        for (int i = 0; i < 400'000; ++i) {
            log += Sjis("Re: 表示について") + "\r\n" + std::to_string(1000 + i % 9000) + "\r\n" +
                   (i % 2 == 0 ? "BCB" : "DLP") + "\r\n";
        }
        WriteFile(fixture().HomeFile("Findbig.dat"), log);
        createWindow();
        type("big");
        QCOMPARE(rowCount(), 400'000);
        QVERIFY(rows().Rows().HeldBytes() <= 3 * log.size());
        QCOMPARE(rows().index(399'999, 1).data().toString(),
                 QString::number(1000 + 399'999 % 9000));
        QVERIFY(SameIcon(icon(399'998), BuildingsPicture(16)));
        const int widest = list().fontMetrics().horizontalAdvance(Text("Re: 表示について")) + 16;
        QVERIFY(list().columnWidth(0) >= widest && list().columnWidth(0) < widest + 60);
    }

    void doubleClickOpensTheHitAndHides() {
        writePages();
        createWindow();
        search("<html>");
        QCOMPARE(rowCount(), 4);
        // No row selected: nothing happens.
        list().clearSelection();
        QTest::mouseDClick(list().viewport(), Qt::LeftButton, {},
                           QPoint(5, list().viewport()->height() - 5));
        QVERIFY(html_->DocumentUrl().isEmpty());
        // A number below 1000 opens its four-digit page file.
        doubleClickRow(0);
        QCOMPARE(html_->DocumentUrl(),
                 QString::fromStdString(PageUrl(fixture().DataFile("0042.msg"))));
        QVERIFY(!window_->isVisible());
        QCOMPARE(htmlWindow_->focusWidget(), html_);
        // Shown again it keeps its text, rows and status; Esc hides it.
        window_->show();
        QCOMPARE(combo().currentText(), QString("<html>"));
        QCOMPARE(rowCount(), 4);
        QCOMPARE(window_->StatusText(), Text("検索結果です"));
        QTest::keyClick(combo().lineEdit(), Qt::Key_Escape);
        QVERIFY(!window_->isVisible());
        // A display that fails: the error, the window stays.
        window_->show();
        html_->fail = true;
        doubleClickRow(1);
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QVERIFY(window_->isVisible());
        button("BitBtn2").click();
        QVERIFY(!window_->isVisible());
    }

    void enterOnASelectedRowOpensItAndInTheFieldSearches() {
        writePages();
        createWindow();
        search("<html>");
        QCOMPARE(rowCount(), 4);
        // Enter in the list without a selected row is still the dialog's OK.
        list().setFocus();
        list().clearSelection();
        QTest::keyClick(&list(), Qt::Key_Return);
        QVERIFY(html_->DocumentUrl().isEmpty());
        QVERIFY(window_->isVisible());
        QCOMPARE(rowCount(), 4);
        // On a selected row it opens the row, as a double click does.
        list().setCurrentIndex(row(1));
        QTest::keyClick(&list(), Qt::Key_Enter);
        QCOMPARE(html_->DocumentUrl(),
                 QString::fromStdString(PageUrl(fixture().DataFile("1001.msg"))));
        QVERIFY(!window_->isVisible());
        // Enter in the text field searches, a row selected or not.
        window_->show();
        list().setCurrentIndex(row(0));
        search("small");
        QCOMPARE(column(0), QStringList({"Delphi small"}));
        QVERIFY(window_->isVisible());
        QCOMPARE(html_->DocumentUrl(),
                 QString::fromStdString(PageUrl(fixture().DataFile("1001.msg"))));
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::FindWindowTest)
#include "find_window_test.moc"

// The search window's hit preview, hit count, next and previous hit and
// remembered place, on its own under the offscreen platform.
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include <filesystem>

#include "activity/ui/busy_gauge.h"
#include "base/paths.h"
#include "htmlview/ui/page_view.h"
#include "search/ui/search_window.h"
#include "settings/settings_file.h"
#include "tests/support/pages.h"
#include "tests/ui/counting_gauge.h"
#include "tests/ui/ui_support.h"

namespace teluri {

using test::FirstLine;
using test::Sjis;
using test::WriteFile;

class HitPreviewTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::UiFixture> fixture_;
    std::unique_ptr<QWidget> htmlWindow_;
    PageView* html_ = nullptr;
    std::unique_ptr<SearchWindow> window_;
    Archive archive_;
    std::unique_ptr<test::CountingGauge> gauge_;

    QComboBox& combo() { return *window_->findChild<QComboBox*>("cmbFind"); }
    QTreeView& list() { return *window_->findChild<QTreeView*>("lsvFInd"); }
    QModelIndex row(int at) { return list().model()->index(at, 0); }
    QLabel& popup() { return *window_->findChild<QLabel*>("PreviewPopup"); }
    QString count() { return window_->findChild<QLabel*>("CountPanel")->text(); }

    void createWindow() {
        window_ = std::make_unique<SearchWindow>(archive_, *gauge_, *html_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void search(const QString& text) {
        combo().setEditText(text);
        window_->findChild<QPushButton*>("BitBtn1")->click();
    }

    // 1001: the word in the body; 1002: only in a link's address;
    // 1003: the word twice, on its last line.
    void writePages() {
        const auto page = [](const char* number, const std::string& body) {
            return FirstLine(number, std::string("Title ") + number) + "\r\n" + body;
        };
        WriteFile(fixture_->DataFile("1001.msg"),
                  page("1001", Sjis("<p>最初の行に Kylix と書く</p>\r\n<p>other</p>\r\n")));
        WriteFile(fixture_->DataFile("1002.msg"),
                  page("1002", "<a href=\"kylix.htm\">link</a>\r\n"));
        WriteFile(fixture_->DataFile("1003.msg"), page("1003", "x<br>\r\nkylix & KYLIX"));
        WriteFile(fixture_->DataFile("1004.msg"), page("1004", "none"));
        archive_.files.SetFolder(fixture_->Data());
    }

    QString shown() { return html_->DocumentUrl(); }

  private slots:
    void init() {
        fixture_ = std::make_unique<test::UiFixture>();
        htmlWindow_ = std::make_unique<QWidget>();
        html_ = new PageView(htmlWindow_.get());
        archive_.files = PageFileList();
        gauge_ = std::make_unique<test::CountingGauge>();
    }

    void cleanup() {
        window_.reset();
        htmlWindow_.reset();
        fixture_.reset();
    }

    void aSelectedRowShowsTheLinesAroundItsHits() {
        writePages();
        createWindow();
        search("KYLIX");
        QCOMPARE(list().model()->rowCount(), 3);
        QCOMPARE(count(), QString::fromUtf8("3 件"));
        list().setFocus();
        list().setCurrentIndex(row(0));
        QTRY_VERIFY(popup().isVisible());
        QVERIFY(popup().text().contains("1001 Title 1001"));
        QVERIFY(popup().text().contains(QString::fromUtf8("最初の行に <b>Kylix</b> と書く")));
        QVERIFY(!popup().text().contains("other"));
        // The arrow keys walk the list; the preview follows.
        QTest::keyClick(&list(), Qt::Key_Down);
        QTRY_VERIFY(popup().text().contains("1002 Title 1002"));
        QVERIFY(popup().isVisible());
        QVERIFY(popup().text().contains(QString::fromUtf8("本文に見つかりません")));
        QTest::keyClick(&list(), Qt::Key_Down);
        QTRY_VERIFY(popup().text().contains("<b>kylix</b> &amp; <b>KYLIX</b>"));
        // Esc takes the preview away (and closes the window).
        QTest::keyClick(&list(), Qt::Key_Escape);
        QVERIFY(!popup().isVisible());
    }

    void thePointerRestingOnARowShowsItsPreview() {
        writePages();
        createWindow();
        search("kylix");
        const QRect third = list().visualRect(row(2));
        QTest::mouseMove(list().viewport(), third.center());
        QTRY_VERIFY(popup().isVisible());
        QVERIFY(popup().text().contains("1003 Title 1003"));
        QVERIFY(!list().selectionModel()->hasSelection());  // resting selects nothing
        // The window taking another size leaves the row's place: it goes.
        window_->resize(window_->width() + 100, window_->height());
        QTRY_VERIFY(!popup().isVisible());
    }

    void aPageGoneSinceTheSearchSaysSo() {
        writePages();
        createWindow();
        search("kylix");
        std::filesystem::remove(fixture_->DataFile("1003.msg"));
        list().setCurrentIndex(row(2));
        QTRY_VERIFY(popup().isVisible());
        QCOMPARE(popup().text(), QString::fromUtf8("1003.msg はありません"));
    }

    void theCountFollowsSearchesAndSavedResults() {
        writePages();
        createWindow();
        QCOMPARE(count(), QString());
        search("zzz");
        QCOMPARE(count(), QString::fromUtf8("0 件"));
        search("title");
        QCOMPARE(count(), QString::fromUtf8("4 件"));
        combo().setEditText("zzz");  // its saved result
        QCOMPARE(count(), QString::fromUtf8("0 件"));
        combo().setEditText("title");
        QCOMPARE(count(), QString::fromUtf8("4 件"));
        QCOMPARE(window_->StatusText(), QString::fromUtf8("検索結果です"));
    }

    void stepsThroughTheHitsAndStopsAtBothEnds() {
        writePages();
        createWindow();
        QSignalSpy opened(window_.get(), &SearchWindow::hitOpened);
        QSignalSpy ended(window_.get(), &SearchWindow::hitStepEnded);
        window_->StepHit(1);  // nothing listed yet
        QCOMPARE(ended.takeFirst().at(0).toString(), QString::fromUtf8("検索結果がありません"));
        search("kylix");
        window_->close();
        window_->StepHit(1);  // no current row: the first
        QVERIFY(shown().endsWith("/1001.msg"));
        QCOMPARE(opened.takeFirst().at(0).toString(), QString("kylix"));
        QVERIFY(!window_->isVisible());
        window_->StepHit(1);
        window_->StepHit(1);
        QVERIFY(shown().endsWith("/1003.msg"));
        window_->StepHit(1);  // past the end: nothing moves
        QVERIFY(shown().endsWith("/1003.msg"));
        QCOMPARE(ended.takeFirst().at(0).toString(), QString::fromUtf8("次の検索結果はありません"));
        QCOMPARE(list().currentIndex().row(), 2);
        window_->StepHit(-1);
        window_->StepHit(-1);
        QVERIFY(shown().endsWith("/1001.msg"));
        window_->StepHit(-1);
        QVERIFY(shown().endsWith("/1001.msg"));
        QCOMPARE(ended.takeFirst().at(0).toString(), QString::fromUtf8("前の検索結果はありません"));
        QCOMPARE(opened.size(), 4);
        QVERIFY(ended.isEmpty());
        QVERIFY(!popup().isVisible());  // rows chosen while hidden are not previewed
    }

    void resizedMaximisedAndRemembered() {
        writePages();
        createWindow();
        search("kylix");
        window_->setGeometry(40, 50, 700, 420);
        QTRY_COMPARE(window_->width(), 700);
        // The number column takes what the title column leaves.
        QTRY_COMPARE(list().columnWidth(0) + list().columnWidth(1), list().viewport()->width());
        window_->close();
        const SettingsFile ini(fixture_->HomeFile("Window.ini"));
        QCOMPARE(ini.ReadNumber("SearchWindow", "Width", 0), 700);
        QCOMPARE(ini.ReadNumber("SearchWindow", "Height", 0), 420);
        QCOMPARE(ini.ReadNumber("SearchWindow", "Left", 0), 40);
        QCOMPARE(ini.ReadFlag("SearchWindow", "Maximized", true), false);
        // The next run's window takes that place.
        window_.reset();
        createWindow();
        QCOMPARE(window_->geometry(), QRect(40, 50, 700, 420));
        window_->showMaximized();
        QTRY_VERIFY(window_->width() > 700);
        window_->close();
        QCOMPARE(SettingsFile(fixture_->HomeFile("Window.ini"))
                     .ReadFlag("SearchWindow", "Maximized", false),
                 true);
        window_.reset();
        createWindow();
        QTRY_VERIFY(window_->isMaximized());
        QCOMPARE(window_->normalGeometry(), QRect(40, 50, 700, 420));
    }

    void aPlaceNoScreenShowsIsLeftForTheCentre() {
        WriteFile(fixture_->HomeFile("Window.ini"),
                  "[SearchWindow]\r\nLeft=-30000\r\nTop=-30000\r\nWidth=600\r\nHeight=x\r\n");
        createWindow();
        QCOMPARE(window_->size(), QSize(428, 270));
        WriteFile(fixture_->HomeFile("Window.ini"),
                  "[SearchWindow]\r\nLeft=-30000\r\nTop=-30000\r\nWidth=600\r\nHeight=300\r\n");
        window_.reset();
        createWindow();
        const QRect screen = window_->screen()->geometry();
        QCOMPARE(window_->pos(), QPoint((screen.width() - 428) / 2, (screen.height() - 270) / 2));
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::HitPreviewTest)
#include "hit_preview_test.moc"

// The main window driven through its actions, timers and seams under the
// offscreen platform.
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <filesystem>

#include "activity/ui/busy_gauge.h"
#include "activity/ui/panel_status_bar.h"
#include "app/ui/main_window.h"
#include "app/ui/toolbar_fold.h"
#include "base/ui/dialogs.h"
#include "base/ui/fonts.h"
#include "base/ui/qtext.h"
#include "htmlview/ui/page_display.h"
#include "tests/support/pages.h"
#include "tests/ui/main_window_fixture.h"
#include "tests/ui/tree_nodes.h"
#include "threads/tree_builder.h"

namespace teluri {
namespace {

using test::FirstLine;
using test::Page;
using test::ReadFile;
using test::Sjis;
using test::WriteFile;

// Records the texts that a label named `name` shows each time it is
// painted, as the progress window repaints while a run holds the thread.
class PaintedTexts : public QObject {
  public:
    explicit PaintedTexts(const char* name) : name_(name) { qApp->installEventFilter(this); }
    QStringList texts;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->objectName() == name_) {
            const QString text = static_cast<QLabel*>(watched)->text();
            if (!text.isEmpty() && (texts.isEmpty() || texts.back() != text)) {
                texts.append(text);
            }
        }
        return false;
    }

  private:
    QString name_;
};

// Calls `seen` at each event of type `type` that `watched` receives.
class EventSpy : public QObject {
  public:
    EventSpy(QObject& watched, QEvent::Type type, std::function<void()> seen)
        : type_(type), seen_(std::move(seen)) {
        watched.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_) {
            seen_();
        }
        return false;
    }

  private:
    QEvent::Type type_;
    std::function<void()> seen_;
};

// Records, in order, the paint events of the widgets with the given names:
// a label's text, the widget's size and whether its window was on screen.
class PaintOrder : public QObject {
  public:
    struct Entry {
        QString name;
        QString text;
        QSize size;
        bool windowShown = false;
    };

    explicit PaintOrder(QStringList names) : names_(std::move(names)) {
        qApp->installEventFilter(this);
    }
    std::vector<Entry> entries;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && names_.contains(watched->objectName())) {
            auto* widget = static_cast<QWidget*>(watched);
            auto* label = qobject_cast<QLabel*>(widget);
            entries.push_back({widget->objectName(), label != nullptr ? label->text() : QString(),
                               widget->size(), widget->window()->isVisible()});
        }
        return false;
    }

  private:
    QStringList names_;
};

// True when `part` holds some of `whole`'s entries, in `whole`'s order.
bool IsSubsequence(const QStringList& part, const QStringList& whole) {
    qsizetype at = 0;
    for (const QString& text : part) {
        at = whole.indexOf(text, at);
        if (at < 0) {
            return false;
        }
        ++at;
    }
    return true;
}

QStringList ItemTexts(const QTreeView& tree) {
    QStringList texts;
    std::function<void(const QModelIndex&, int)> walk = [&](const QModelIndex& node, int depth) {
        texts.append(QString(depth, '\t') + test::TextOf(node));
        for (int i = 0; i < tree.model()->rowCount(node); ++i) {
            walk(test::Child(node, i), depth + 1);
        }
    };
    for (int i = 0; i < test::ThreadCount(tree); ++i) {
        walk(test::Thread(tree, i), 0);
    }
    return texts;
}

}  // namespace

class MainWindowTest : public test::MainWindowTestBase {
    Q_OBJECT

  private slots:
    void japaneseFontIsInstalled() {
        QVERIFY(!JapaneseUiFamily().isEmpty());
        QVERIFY(!JapaneseFixedFamily().isEmpty());
        QVERIFY(QFontDatabase::families(QFontDatabase::Japanese).contains(JapaneseUiFamily()));
    }

    void startsWithTutorialAndDefaultSettings() {
        createWindow();
        QVERIFY(window().windowState() & Qt::WindowMaximized);
        QCOMPARE(window().windowTitle(), QString::fromUtf8("Orvak Teluri Explorer"));
        QCOMPARE(window().Page().DocumentUrl(),
                 QString::fromStdString("file://" + fixture().HomeFile("tutor.htm")));
        QCOMPARE(window().Page().FontSize(), 10);
        QCOMPARE(window().Page().FixedFontSize(), 10);
        QCOMPARE(window().CurrentArchive().dataFolder, fixture().Home());
        QVERIFY(fixture().messages.empty());
    }

    void programStartShowsTheWindowBeforeTheTutorial() {
        makeWindow(TutorialLoad::kAfterFirstPaint);
        QVERIFY(window().Page().DocumentUrl().isEmpty());
        window().show();
        QTRY_COMPARE(window().Page().DocumentUrl(),
                     QString::fromStdString("file://" + fixture().HomeFile("tutor.htm")));
        // A page shown before the first picture is not replaced: the
        // tutorial's load, posted at the page's first paint, has run by the
        // time a call posted after that paint runs.
        makeWindow(TutorialLoad::kAfterFirstPaint);
        const std::string page = fixture().HomeFile("tutor.htm") + "#other";
        window().Page().LoadUrl(QString::fromStdString("file://" + page));
        bool painted = false;
        EventSpy paints(*html().viewport(), QEvent::Paint, [&painted] { painted = true; });
        window().show();
        QTRY_VERIFY(painted);
        QVERIFY(test::WaitForPostedCalls());
        QCOMPARE(window().Page().DocumentUrl(), QString::fromStdString("file://" + page));
    }

    void startUpReadsSettings() {
        WriteFile(fixture().HomeFile("Teluri.ini"),
                  "[Font]\r\nSize=0x0C\r\nFixSize=-3\r\n[Option]\r\nPath=/nowhere/\r\n");
        createWindow();
        QCOMPARE(window().Page().FontSize(), 12);
        QCOMPARE(window().Page().FixedFontSize(), -3);
        QCOMPARE(window().CurrentArchive().dataFolder, std::string("/nowhere/"));
    }

    void analysisRunFillsTreeAndWritesTreeDat() {
        writeThread();
        createWindow();
        PaintedTexts percentages("lblper");
        openDataFolder();
        QCOMPARE(
            ItemTexts(tree()),
            QStringList({QString::fromUtf8("1001:C++Builderの質問"),
                         QString::fromUtf8("\t1002:Re: 質問"), QString::fromUtf8("\t1003:Re: 質問"),
                         "\t\t1004:Delphi", QString::fromUtf8("1005:Delphiの話")}));
        // Drawn at the first step, at most once a display frame after it,
        // and after the last step.
        QVERIFY(percentages.texts.size() >= 2);
        QCOMPARE(percentages.texts.front(), QString("0%"));
        QCOMPARE(percentages.texts.back(), QString("100%"));
        QVERIFY(IsSubsequence(percentages.texts, {"0%", "25%", "50%", "75%", "100%"}));
        QVERIFY(!test::Thread(tree(), 0).data(Qt::DecorationRole).isNull());
        QVERIFY(tree().updatesEnabled());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(ReadFile(fixture().HomeFile("Tree.dat")),
                 Sjis("1001:C++Builderの質問\r\n\t1002:Re: 質問\r\n\t1003:Re: 質問\r\n"
                      "\t\t1004:Delphi\r\n1005:Delphiの話\r\n"));
        QCOMPARE(window().CurrentArchive().files.Names().size(), std::size_t{5});
    }

    // Tree.dat is written while the view takes the nodes: a Tree.dat that
    // cannot be replaced is reported once the tree is shown and counted.
    void treeDatThatCannotBeWrittenIsReportedWithTheTreeShown() {
        writeThread();
        std::filesystem::create_directory(fixture().HomeFile("Tree.dat"));
        createWindow();
        openDataFolder();
        QTRY_VERIFY(!fixture().messages.empty());
        QVERIFY(fixture().messages[0].text.contains(
            QString::fromStdString(fixture().HomeFile("Tree.dat"))));
        QCOMPARE(test::ThreadCount(tree()), 2);
        QCOMPARE(window().findChild<PanelStatusBar*>("StatusBar1")->TextAt(3),
                 Text("5 ページ　2 スレッド　未読 5"));
        QVERIFY(tree().updatesEnabled());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(std::filesystem::is_directory(fixture().HomeFile("Tree.dat")));
        QCOMPARE(window().CurrentArchive().files.Names().size(), std::size_t{5});
    }

    void openFolderCommand() {
        WriteFile(fixture().HomeFile("Teluri.ini"),
                  "[Option]\r\nPath=" + fixture().Data() + "\r\n");
        createWindow();
        // Cancel: nothing changes, the dialog opened at the stored folder.
        action("Open1").trigger();
        QCOMPARE(fixture().folderStarts, QStringList({QString::fromStdString(fixture().Data())}));
        QVERIFY(!window().findChild<QTimer*>("tmrAnalyze")->isActive());
        // A typed folder that does not exist is stored with a delimiter; the
        // run then fails naming it.
        const std::string missing = fixture().Data() + "missing";
        fixture().folderAnswers.push_back(QString::fromStdString(missing));
        action("Open1").trigger();
        QCOMPARE(window().CurrentArchive().dataFolder, missing + "/");
        QVERIFY(ReadFile(fixture().HomeFile("Teluri.ini")).find("Path=" + missing + "/\r\n") !=
                std::string::npos);
        QTRY_VERIFY(!fixture().messages.empty());
        QCOMPARE(fixture().messages[0].caption, QString(kApplicationTitle));
        QVERIFY(fixture().messages[0].text.contains(QString::fromStdString(missing)));
        // A stored path that is no folder opens the dialog at its default.
        action("Open1").trigger();
        QCOMPARE(fixture().folderStarts.back(), QString());
    }

    void badPageShowsErrorAndLeavesWindowUsable() {
        writeThread();
        WriteFile(fixture().DataFile("1003.msg"), FirstLine("10\">", "bad") + "\r\n");
        createWindow();
        openDataFolder();
        QTRY_VERIFY(!fixture().messages.empty());
        const QString text = fixture().messages[0].text;
        QCOMPARE(text, QString::fromUtf8("'10\">' は整数ではありません\n") +
                           QString::fromStdString(fixture().DataFile("1003.msg")));
        QCOMPARE(fixture().messages[0].icon, QMessageBox::Critical);
        // The nodes before the page stay; no Tree.dat; the window is usable.
        QCOMPARE(test::ThreadCount(tree()), 1);
        QVERIFY(!std::filesystem::exists(fixture().HomeFile("Tree.dat")));
        QVERIFY(tree().updatesEnabled());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(window().findChildren<QWidget*>("frmBar").isEmpty() ||
                !window().findChild<QWidget*>("frmBar")->isVisible());
    }

    // Pages that multiply the tree stop the run at the node limit like any
    // analysis error: the page named, the old Tree.dat kept, the window usable.
    void treeBeyondTheNodeLimitStopsTheRun() {
        WriteFile(fixture().DataFile("1001.msg"),
                  Page("1001", "t", {}, std::vector<std::string>(600, "1002")));
        WriteFile(fixture().DataFile("1002.msg"),
                  Page("1002", "t", "1001", std::vector<std::string>(600, "1003")));
        WriteFile(fixture().DataFile("1003.msg"), Page("1003", "t", "1002"));
        WriteFile(fixture().HomeFile("Tree.dat"), "1001:old\r\n");
        createWindow();
        openDataFolder();
        QTRY_VERIFY(!fixture().messages.empty());
        QCOMPARE(fixture().messages[0].text,
                 QString::fromUtf8("ツリーのノードが %1 個を超えるため、解析を中止しました\n")
                         .arg(kMaxTreeNodes) +
                     QString::fromStdString(fixture().DataFile("1003.msg")));
        QCOMPARE(ReadFile(fixture().HomeFile("Tree.dat")), std::string("1001:old\r\n"));
        QVERIFY(tree().updatesEnabled());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void selectingANodeLoadsItsPage() {
        const std::string folder = fixture().Data() + "表示データ/";
        std::filesystem::create_directory(folder);
        WriteFile(folder + "1001.msg", Page("1001", "a"));
        WriteFile(folder + "0042.msg", Page("0042", "small"));
        createWindow();
        fixture().folderAnswers.push_back(QString::fromStdString(folder));
        action("Open1").trigger();
        QTRY_COMPARE(test::ThreadCount(tree()), 2);
        tree().setCurrentIndex(test::Thread(tree(), 1));
        QCOMPARE(window().Page().DocumentUrl(),
                 QString::fromStdString("file://" + fixture().Data()) +
                     "%E8%A1%A8%E7%A4%BA%E3%83%87%E3%83%BC%E3%82%BF/1001.msg");
        // A number below 1000 opens the page file with four digits.
        tree().setCurrentIndex(test::Thread(tree(), 0));
        QCOMPARE(test::TextOf(test::Thread(tree(), 0)), QString("42:small"));
        QVERIFY(window().Page().DocumentUrl().endsWith("/0042.msg"));
        auto* html = window().findChild<QWidget*>("HTML1");
        QVERIFY(!static_cast<QTextEdit*>(html)->toPlainText().contains(
            QString::fromUtf8("見つかりません")));
    }

    void draftOpen() {
        createWindow();
        // No Tree.dat: nothing happens.
        action("QuickOpen1").trigger();
        QCOMPARE(test::ThreadCount(tree()), 0);
        QVERIFY(fixture().messages.empty());
        writeThread();
        WriteFile(fixture().HomeFile("Teluri.ini"),
                  "[Option]\r\nPath=" + fixture().Data() + "\r\n");
        WriteFile(fixture().HomeFile("Tree.dat"),
                  Sjis("1001:a\r\n\t1002:b\n \t1003:c\r1005:d\r\n"));
        action("QuickOpen1").trigger();
        QCOMPARE(ItemTexts(tree()), QStringList({"1001:a", "\t1002:b", "\t\t1003:c", "1005:d"}));
        QVERIFY(test::Thread(tree(), 0).data(Qt::DecorationRole).isNull());
        QCOMPARE(window().CurrentArchive().files.Names().size(), std::size_t{5});
        // An invalid level: the error names the line; the nodes before stay.
        WriteFile(fixture().HomeFile("Tree.dat"), "1001:a\r\n\t\t1002:b\r\n1003:c\r\n");
        action("QuickOpen1").trigger();
        QCOMPARE(ItemTexts(tree()), QStringList({"1001:a"}));
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QVERIFY(fixture().messages[0].text.contains("2"));
        QVERIFY(tree().updatesEnabled());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void startUpDraftOpenFollowsTheSetting() {
        WriteFile(fixture().HomeFile("Tree.dat"), "1001:a\r\n");
        WriteFile(fixture().HomeFile("Teluri.ini"), "[Startup]\r\nDraftopen=1\r\n");
        createWindow();
        QTRY_COMPARE(test::ThreadCount(tree()), 1);
        destroyWindow();
        WriteFile(fixture().HomeFile("Teluri.ini"), "[Startup]\r\nDraftOpen=0\r\n");
        createWindow();
        // Off: the start-up timer's handler, which opens the saved tree, has
        // run when the timer's signal reaches a later receiver.
        QSignalSpy startUp(window().findChild<QTimer*>("tmrDefault"), &QTimer::timeout);
        QVERIFY(startUp.wait());
        QCOMPARE(test::ThreadCount(tree()), 0);
    }

    void popupOnRightButtonOnly() {
        createWindow();
        auto* html = window().findChild<QWidget*>("HTML1");
        auto* popup = window().findChild<QMenu*>("PopupMenu1");
        QTest::mousePress(static_cast<QTextEdit*>(html)->viewport(), Qt::LeftButton);
        QTest::mousePress(static_cast<QTextEdit*>(html)->viewport(), Qt::MiddleButton);
        QVERIFY(!popup->isVisible());
        QTest::mousePress(static_cast<QTextEdit*>(html)->viewport(), Qt::RightButton);
        QVERIFY(popup->isVisible());
        popup->hide();
    }

    void selectAllAndCopy() {
        createWindow();
        QGuiApplication::clipboard()->clear();
        action("SelectAll2").trigger();
        action("Copy2").trigger();
        QVERIFY(QGuiApplication::clipboard()->text().contains(QString::fromUtf8("使い方")));
    }

    void printing() {
        createWindow();
        Dialogs().printer = [] { return std::unique_ptr<QPrinter>(); };
        window().findChild<QToolButton*>("btnPrint")->click();
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        const std::string pdf = fixture().HomeFile("page.pdf");
        Dialogs().printer = [pdf] {
            auto printer = std::make_unique<QPrinter>();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(QString::fromStdString(pdf));
            return printer;
        };
        action("Print2").trigger();
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QVERIFY(std::filesystem::file_size(pdf) > 0);
    }

    void aboutAndVersionBoxes() {
        createWindow();
        action("N4").trigger();
        window().findChild<QToolButton*>("btnHelp")->click();
        QCOMPARE(fixture().dialogsShown,
                 QStringList({QString::fromUtf8("Orvak TeluriExplorerについて"), QString()}));
    }

    void gaugeStepsOncePerFileAndRests() {
        writeThread();
        createWindow();
        auto* gauge = window().findChild<BusyGauge*>("DynamicGauge1");
        auto* view = window().findChild<QWidget*>("DynamicGauge1View");
        QList<int> paintedPositions;
        EventSpy spy(*view, QEvent::Paint, [&] { paintedPositions.append(gauge->Position()); });
        openDataFolder();
        // Five files, four positions apart: drawn during the run, at most
        // once a display frame, and at rest once the event loop runs again.
        QVERIFY(!paintedPositions.isEmpty());
        QVERIFY(std::all_of(paintedPositions.begin(), paintedPositions.end(),
                            [](int position) { return position % 4 == 0 && position <= 20; }));
        QTRY_COMPARE(paintedPositions.back(), 0);
        QCOMPARE(gauge->Position(), 0);
        const QImage rest = view->grab().toImage();
        QCOMPARE(rest.pixelColor(rest.width() / 2, 5), QColor(192, 192, 192));
    }

    void progressWindowIsDrawnBeforeTheFirstFile() {
        // The run holds the thread: what the progress window shows must be
        // painted inside it. Its text and animation are painted first, then
        // the first percentage, all while the window is on screen.
        writeThread();
        createWindow();
        PaintOrder order({"Label1", "Animate1", "lblper"});
        openDataFolder();
        const auto firstPercent = std::find_if(
            order.entries.begin(), order.entries.end(), [](const PaintOrder::Entry& entry) {
                return entry.name == "lblper" && !entry.text.isEmpty();
            });
        QVERIFY(firstPercent != order.entries.end());
        const auto paintedBefore = [&](const char* name) {
            return std::any_of(order.entries.begin(), firstPercent,
                               [name](const PaintOrder::Entry& entry) {
                                   return entry.name == name && entry.windowShown;
                               });
        };
        QVERIFY(paintedBefore("Label1"));
        QVERIFY(paintedBefore("Animate1"));
        QCOMPARE(firstPercent->text, QString("0%"));
        QVERIFY(firstPercent->windowShown);
        QVERIFY(!firstPercent->size.isEmpty());
    }

    void toolBarFoldsAndUnfolds() {
        createWindow();
        auto* toolBar = window().findChild<QWidget*>("Panel1");
        auto* sleepBar = window().findChild<QWidget*>("pnlSleepBar");
        QVERIFY(toolBar->isVisible());
        QVERIFY(!sleepBar->isVisible());
        QTest::mouseClick(window().findChild<QWidget*>("Image1"), Qt::LeftButton);
        QVERIFY(!toolBar->isVisible());
        QVERIFY(sleepBar->isVisible());
        QCOMPARE(sleepBar->height(), 12);
        QTest::mouseClick(window().findChild<QWidget*>("Image2"), Qt::LeftButton);
        QVERIFY(toolBar->isVisible());
        QVERIFY(!sleepBar->isVisible());
    }

    void gripAndTabLightUnderThePointer() {
        createWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        const auto shows = [this](const char* name, const QPixmap& picture) {
            return window().findChild<QLabel*>(name)->pixmap().toImage() == picture.toImage();
        };
        const auto pointAt = [this](QWidget* widget, QPoint at) {
            QTest::mouseMove(window().windowHandle(), widget->mapTo(&window(), at));
        };
        auto* grip = window().findChild<QWidget*>("pnlWaitBar");
        pointAt(grip, QPoint(4, 12));
        QTRY_VERIFY(shows("Image1", GripPicture(true)));
        // Anywhere else in the program the normal picture comes back.
        pointAt(tree().viewport(), QPoint(20, 20));
        QTRY_VERIFY(shows("Image1", GripPicture(false)));
        // Folded: the tab lights the same way.
        QTest::mouseClick(window().findChild<QWidget*>("Image1"), Qt::LeftButton);
        auto* tab = window().findChild<QWidget*>("pnlBar2");
        auto* strip = window().findChild<QWidget*>("pnlSleepBar");
        // The strip takes the tool bar's place in the layout.
        QTRY_COMPARE(strip->y(), window().findChild<QWidget*>("Panel1")->y());
        pointAt(tab, QPoint(5, 5));
        QTRY_VERIFY(shows("Image2", TabPicture(true)));
        pointAt(tree().viewport(), QPoint(20, 20));
        QTRY_VERIFY(shows("Image2", TabPicture(false)));
    }

    void accessKeysFocusThePanes() {
        createWindow();
        QApplication::setActiveWindow(&window());
        tree().setFocus();
        QTest::keyClick(&window(), Qt::Key_H, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("HTML1"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("trvTeluri"));
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::MainWindowTest)
#include "main_window_test.moc"

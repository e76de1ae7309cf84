// The window program as a desktop program: the toolkit's dialogs in
// Japanese, the icon and desktop entry name, and saving a page as PDF from
// the popup menu and in place of printing without a printer.
#include <QApplication>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include <filesystem>

#include "app/ui/desktop_program.h"
#include "app/ui/main_window.h"
#include "app/ui/pdf_export.h"
#include "base/ui/dialogs.h"
#include "htmlview/ui/page_display.h"
#include "tests/support/pages.h"
#include "tests/ui/main_window_fixture.h"
#include "tests/ui/tree_nodes.h"

namespace teluri {

class DesktopProgramTest : public test::MainWindowTestBase {
    Q_OBJECT

  private:
    // The window showing page 1004 of a small data folder.
    void showPage() {
        test::WriteFile(fixture().DataFile("1004.msg"), test::Page("1004", "Delphi"));
        createWindow();
        openDataFolder();
        tree().setCurrentIndex(test::Thread(tree(), 0));
        QVERIFY(window().Page().DocumentUrl().endsWith("/1004.msg"));
    }

    static bool IsPdf(const std::string& path) {
        return std::filesystem::exists(path) && test::ReadFile(path).rfind("%PDF-", 0) == 0;
    }

  private slots:
    void standardDialogsSpeakJapanese() {
        SetUpDesktopProgram();
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                 QDialogButtonBox::Yes | QDialogButtonBox::No);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("キャンセル"));
        QCOMPARE(buttons.button(QDialogButtonBox::Yes)->text(), QString::fromUtf8("はい(&Y)"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"),
                 QString::fromUtf8("アドレス:"));
        QCOMPARE(QGuiApplication::desktopFileName(), QString(TELURI_APP_ID));
        QVERIFY(!QGuiApplication::windowIcon().isNull());
        QVERIFY(QGuiApplication::windowIcon().availableSizes().contains(QSize(256, 256)));
    }

    void popupMenuEndsWithSaveAsPdf() {
        showPage();
        QStringList names;
        for (QAction* item : window().findChild<QMenu*>("PopupMenu1")->actions()) {
            names.append(item->objectName());
        }
        QCOMPARE(names, QStringList({"Copy1", "SelectAll1", "N1", "Print1", "SavePdf1"}));
        QCOMPARE(action("SavePdf1").text(), QString::fromUtf8("PDF として保存..."));
    }

    void savesThePageAsPdfUnderItsNumber() {
        showPage();
        const std::string pdf = fixture().HomeFile("saved.pdf");
        // Cancelled: nothing written, nothing said.
        action("SavePdf1").trigger();
        QCOMPARE(fixture().savesProposed.size(), 1);
        QVERIFY(fixture().savesProposed[0].endsWith("/1004.pdf"));
        QVERIFY(!std::filesystem::exists(pdf));
        // Chosen: the page as PDF; an existing file is replaced.
        test::WriteFile(pdf, "old");
        fixture().saveAnswers.push_back(QString::fromStdString(pdf));
        action("SavePdf1").trigger();
        QVERIFY(IsPdf(pdf));
        QVERIFY(fixture().messages.empty());
    }

    void unwritablePdfIsReportedAndLeavesNoFile() {
        showPage();
        const std::string pdf = fixture().HomeFile("no such folder/saved.pdf");
        fixture().saveAnswers.push_back(QString::fromStdString(pdf));
        action("SavePdf1").trigger();
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QCOMPARE(fixture().messages[0].text,
                 QString::fromStdString("ﾌｧｲﾙ " + pdf + " を作成できません"));
        QVERIFY(!std::filesystem::exists(pdf));
    }

    void withoutPrinterPrintingOffersPdf() {
        showPage();
        Dialogs().printer = [] { return std::unique_ptr<QPrinter>(); };
        auto& print = *window().findChild<QToolButton*>("btnPrint");
        const std::string pdf = fixture().HomeFile("printed.pdf");
        // Declined: the printer's message, as before.
        print.click();
        QCOMPARE(fixture().questions,
                 QStringList(QString::fromUtf8(
                     "プリンタがありません。このページを PDF として保存しますか?")));
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QCOMPARE(fixture().messages[0].text,
                 QString::fromUtf8("プリンタがありません。印刷できません。"));
        // Accepted, then the save dialog cancelled: nothing more.
        fixture().questionAnswers = {true, true};
        print.click();
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QCOMPARE(fixture().savesProposed.size(), 1);
        // Accepted and saved.
        fixture().saveAnswers.push_back(QString::fromStdString(pdf));
        action("Print1").trigger();
        QVERIFY(IsPdf(pdf));
        QCOMPARE(fixture().messages.size(), std::size_t{1});
    }

    void proposedNameFollowsThePageFile() {
        QVERIFY(ProposedPdfPath("file:///data/1234.msg").endsWith("/1234.pdf"));
        QVERIFY(ProposedPdfPath("file:///my%20data/tutor.htm").endsWith("/tutor.pdf"));
        QVERIFY(ProposedPdfPath("").endsWith("/page.pdf"));
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::DesktopProgramTest)
#include "desktop_program_test.moc"

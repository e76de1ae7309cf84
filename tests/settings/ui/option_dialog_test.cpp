// The options command and dialog, driven from the main window's menu with
// the dialog answered through the seam.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include "app/ui/main_window.h"
#include "base/files.h"
#include "htmlview/ui/page_display.h"
#include "settings/ui/options_dialog.h"
#include "settings/ui/spin_field.h"
#include "tests/ui/main_window_fixture.h"

namespace teluri {

class OptionDialogTest : public test::MainWindowTestBase {
    Q_OBJECT

  private:
    std::string iniFile() { return fixture().HomeFile("Teluri.ini"); }

    // Opens the options dialog; `answer` looks at it and returns its result.
    void runOptions(const std::function<int(OptionsDialog&)>& answer) {
        if (!hasWindow()) {
            makeWindow();
        }
        fixture().onDialog = [&answer](QDialog& dialog) {
            return answer(static_cast<OptionsDialog&>(dialog));
        };
        action("Option1").trigger();
    }

    static int accept(OptionsDialog&) { return QDialog::Accepted; }

  private slots:
    void freshFolderShowsDefaults() {
        runOptions([](OptionsDialog& dialog) {
            [&] {
                QCOMPARE(dialog.windowTitle(), QString::fromUtf8("環境設定"));
                QCOMPARE(dialog.size(), QSize(376, 235));
                auto* tabs = dialog.findChild<QTabWidget*>("PageControl1");
                QCOMPARE(tabs->currentIndex(), 0);
                QCOMPARE(tabs->tabText(0), QString::fromUtf8("フォント"));
                QCOMPARE(tabs->tabText(1), QString::fromUtf8("その他"));
                QCOMPARE(dialog.proportionalSize()->Text(), QString("10"));
                QCOMPARE(dialog.fixedSize()->Text(), QString("10"));
                QVERIFY(dialog.saveResults()->isChecked());
                QVERIFY(!dialog.draftOpenAtStart()->isChecked());
                QCOMPARE(dialog.findChild<QLabel*>("lblEx1")->text(), QString("Delphi"));
                QCOMPARE(dialog.findChild<QLabel*>("lblEx2")->text(), QString("C++Builder"));
            }();
            return QDialog::Rejected;
        });
        QVERIFY(!FileExists(iniFile()));
    }

    void okWritesTheFourValuesInOrder() {
        runOptions(accept);
        QCOMPARE(test::ReadFile(iniFile()),
                 std::string("[Font]\r\nSize=10\r\nFixSize=10\r\n[FindList]\r\nSave=1\r\n"
                             "[Startup]\r\nDraftopen=0\r\n"));
    }

    void draftOpenEntryIsReplacedInPlace() {
        test::WriteFile(iniFile(), "[Startup]\r\nDraftOpen=0\r\n[Font]\r\nSize=12\r\n");
        runOptions([](OptionsDialog& dialog) {
            dialog.draftOpenAtStart()->setChecked(true);
            return QDialog::Accepted;
        });
        QCOMPARE(test::ReadFile(iniFile()),
                 std::string("[Startup]\r\nDraftOpen=1\r\n[Font]\r\nSize=12\r\nFixSize=10\r\n"
                             "[FindList]\r\nSave=1\r\n"));
    }

    void okAppliesSizesAndReloadsThePage() {
        runOptions([](OptionsDialog& dialog) {
            dialog.proportionalSize()->SetText("14");
            dialog.fixedSize()->SetText("0");
            return QDialog::Accepted;
        });
        QCOMPARE(window().Page().FontSize(), 14);
        QCOMPARE(window().Page().FixedFontSize(), 0);
        QVERIFY(window().Page().DocumentUrl().endsWith("tutor.htm"));
        QVERIFY(fixture().messages.empty());
    }

    void cancelChangesNothing() {
        test::WriteFile(iniFile(), "[Font]\r\nSize=11\r\n");
        runOptions([](OptionsDialog& dialog) {
            dialog.proportionalSize()->SetText("30");
            dialog.fixedSize()->SetText("31");
            return QDialog::Rejected;
        });
        QCOMPARE(window().Page().FontSize(), 11);
        QCOMPARE(test::ReadFile(iniFile()), std::string("[Font]\r\nSize=11\r\n"));
        // The next use shows the stored sizes again.
        runOptions([](OptionsDialog& dialog) {
            [&] { QCOMPARE(dialog.proportionalSize()->Text(), QString("11")); }();
            return QDialog::Rejected;
        });
    }

    void numberEncodingsOfTheSize() {
        const std::pair<const char*, const char*> cases[] = {
            {"0x0C", "12"}, {"$0C", "12"}, {"12pt", "10"}};
        // Started without settings: the display's size, the default, is 10.
        makeWindow();
        for (const auto& [stored, shown] : cases) {
            test::WriteFile(iniFile(), std::string("[Font]\r\nSize=") + stored + "\r\n");
            QString seen;
            runOptions([&seen](OptionsDialog& dialog) {
                seen = dialog.proportionalSize()->Text();
                return QDialog::Rejected;
            });
            QCOMPARE(seen, QString(shown));
        }
    }

    void spinFieldFiltersKeysAndSteps() {
        runOptions([](OptionsDialog& dialog) {
            [&] {
                QLineEdit* edit = dialog.proportionalSize()->Edit();
                edit->clear();
                QTest::keyClicks(edit, "1a2.-+x");
                QCOMPARE(edit->text(), QString("12.-+"));
                QCOMPARE(dialog.proportionalSize()->Value(), 0);
                QTest::keyClick(edit, Qt::Key_Up);
                QCOMPARE(edit->text(), QString("1"));
                edit->setText("-1");
                QTest::keyClick(edit, Qt::Key_Down);
                QCOMPARE(edit->text(), QString("-2"));
                dialog.proportionalSize()->findChild<QWidget*>("btnUp")->setFocus();
                QTest::mouseClick(dialog.proportionalSize()->findChild<QWidget*>("btnUp"),
                                  Qt::LeftButton);
                QCOMPARE(edit->text(), QString("-1"));
                // Every change resizes the sample at once.
                edit->setText("40");
                QCOMPARE(dialog.findChild<QLabel*>("lblEx1")->font().pointSize(), 40);
            }();
            return QDialog::Rejected;
        });
    }

    void notAnIntegerStopsTheCommand() {
        runOptions([](OptionsDialog& dialog) {
            dialog.proportionalSize()->SetText("-");
            return QDialog::Accepted;
        });
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QCOMPARE(fixture().messages[0].text, QString::fromUtf8("'-' は整数ではありません"));
        QCOMPARE(window().Page().FontSize(), 10);
        QVERIFY(!FileExists(iniFile()));
        // Only the second bad: the first size is applied, nothing written.
        runOptions([](OptionsDialog& dialog) {
            dialog.proportionalSize()->SetText("13");
            dialog.fixedSize()->SetText("");
            return QDialog::Accepted;
        });
        QCOMPARE(fixture().messages.back().text, QString::fromUtf8("'' は整数ではありません"));
        QCOMPARE(window().Page().FontSize(), 13);
        QCOMPARE(window().Page().FixedFontSize(), 10);
        QVERIFY(!FileExists(iniFile()));
    }

    void refusedWriteKeepsTheSizesApplied() {
        SetAtomicWriteFailureForTesting(true);
        runOptions([](OptionsDialog& dialog) {
            dialog.proportionalSize()->SetText("15");
            return QDialog::Accepted;
        });
        SetAtomicWriteFailureForTesting(false);
        QCOMPARE(fixture().messages.size(), std::size_t{1});
        QCOMPARE(fixture().messages[0].text,
                 QString::fromStdString(iniFile()) + QString::fromUtf8(" に書き込めません"));
        QCOMPARE(window().Page().FontSize(), 15);
        QVERIFY(!FileExists(iniFile()));
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::OptionDialogTest)
#include "option_dialog_test.moc"

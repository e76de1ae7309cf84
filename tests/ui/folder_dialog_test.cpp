// The real folder-choice and save dialogs, answered by a timer: they return
// what is typed, and they leave nothing in the user's configuration folder.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <filesystem>

#include "base/ui/dialogs.h"
#include "tests/support/temp_folder.h"

namespace teluri {

class FolderDialogTest : public QObject {
    Q_OBJECT

  private:
    test::TempFolder home_;
    test::TempFolder data_;

    // Checks that nothing was left under the user's home.
    void homeStaysEmpty() {
        std::vector<std::string> left;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(home_.Path())) {
            left.push_back(entry.path().string());
        }
        QVERIFY2(left.empty(), left.empty() ? "" : left.front().c_str());
    }

  private slots:
    void initTestCase() {
        // Before anything of the toolkit looks for its settings.
        ::setenv("HOME", home_.Path().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home_ / "config").c_str(), 1);
    }

    // First, so that the save dialog is the first dialog of the program.
    void savedFileIsReturnedAndNoSettingsAreWritten() {
        QTimer::singleShot(50, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            static_cast<QDialog*>(dialog)->accept();
        });
        const QString proposed = QString::fromStdString(data_ / "1234.pdf");
        const std::optional<QString> chosen =
            Dialogs().chooseSaveFile(nullptr, "PDF", proposed, "PDF (*.pdf)");
        QCOMPARE(chosen.value_or(QString()), proposed);
        homeStaysEmpty();
    }

    void typedFolderIsReturnedAndNoSettingsAreWritten() {
        std::filesystem::create_directory(data_ / "sub");
        QTimer::singleShot(50, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText("new folder");
            static_cast<QDialog*>(dialog)->accept();
        });
        const std::optional<QString> chosen =
            Dialogs().chooseFolder(nullptr, QString::fromStdString(data_.Path()));
        QVERIFY(chosen.has_value());
        QCOMPARE(*chosen, QString::fromStdString(data_ / "new folder"));
        QVERIFY(!std::filesystem::exists(data_ / "new folder"));
        // Cancel answers nothing.
        QTimer::singleShot(50, [] { QApplication::activeModalWidget()->close(); });
        QVERIFY(!Dialogs().chooseFolder(nullptr, {}).has_value());
        // Neither use left a file under the user's home.
        homeStaysEmpty();
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::FolderDialogTest)
#include "folder_dialog_test.moc"

// The real folder-choice and save dialogs, answered from their own event
// loop: they return what is typed, and they leave nothing in the user's
// configuration folder.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "base/ui/dialogs.h"
#include "tests/support/temp_folder.h"

namespace teluri {
namespace {

// Answers the modal dialog about to be shown, once it is there, with
// `answer`.
void AnswerNextDialog(std::function<void(QDialog&)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
        QVERIFY(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
        answer(*static_cast<QDialog*>(QApplication::activeModalWidget()));
    });
}

}  // namespace

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
        AnswerNextDialog([](QDialog& dialog) { dialog.accept(); });
        const QString proposed = QString::fromStdString(data_ / "1234.pdf");
        const std::optional<QString> chosen =
            Dialogs().chooseSaveFile(nullptr, "PDF", proposed, "PDF (*.pdf)");
        QCOMPARE(chosen.value_or(QString()), proposed);
        homeStaysEmpty();
    }

    void typedFolderIsReturnedAndNoSettingsAreWritten() {
        std::filesystem::create_directory(data_ / "sub");
        AnswerNextDialog([](QDialog& dialog) {
            dialog.findChild<QLineEdit*>("fileNameEdit")->setText("new folder");
            dialog.accept();
        });
        const std::optional<QString> chosen =
            Dialogs().chooseFolder(nullptr, QString::fromStdString(data_.Path()));
        QVERIFY(chosen.has_value());
        QCOMPARE(*chosen, QString::fromStdString(data_ / "new folder"));
        QVERIFY(!std::filesystem::exists(data_ / "new folder"));
        // Cancel answers nothing.
        AnswerNextDialog([](QDialog& dialog) { dialog.close(); });
        QVERIFY(!Dialogs().chooseFolder(nullptr, {}).has_value());
        // Neither use left a file under the user's home.
        homeStaysEmpty();
    }
};

}  // namespace teluri

QTEST_MAIN(teluri::FolderDialogTest)
#include "folder_dialog_test.moc"

#include "tests/ui/ui_support.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QUrl>

#include <cstdlib>
#include <filesystem>

#include "base/ui/dialogs.h"

namespace teluri::test {

UiFixture::UiFixture() {
    ::setenv("TELURI_HOME", home_.Path().c_str(), 1);
    const std::string tutorial = TELURI_SOURCE_DIR "/resources/tutor.htm";
    std::filesystem::copy_file(tutorial, home_ / "tutor.htm");
    DialogHooks& hooks = Dialogs();
    hooks.messageBox = [this](QWidget*, QMessageBox::Icon icon, const QString& caption,
                              const QString& text) {
        messages.push_back({icon, caption, text});
    };
    hooks.chooseFolder = [this](QWidget*, const QString& start) -> std::optional<QString> {
        folderStarts.append(start);
        if (folderAnswers.empty()) {
            return std::nullopt;
        }
        const auto answer = folderAnswers.front();
        folderAnswers.pop_front();
        return answer;
    };
    hooks.openUrl = [this](const QUrl& url) { openedUrls.append(url.toString()); };
    hooks.execDialog = [this](QDialog& dialog) {
        dialogsShown.append(dialog.windowTitle());
        return onDialog(dialog);
    };
}

UiFixture::~UiFixture() {
    ResetDialogHooks();
    ::unsetenv("TELURI_HOME");
}

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(10);
    }
    return true;
}

}  // namespace teluri::test

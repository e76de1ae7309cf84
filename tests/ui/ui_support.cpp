#include "tests/ui/ui_support.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <cstdlib>
#include <filesystem>

#include "base/ui/dialogs.h"

namespace teluri::test {

namespace {

// The first of the recorded answers, taken away; `none` when none is left.
template <typename Answer>
Answer TakeAnswer(std::deque<Answer>& answers, Answer none) {
    if (!answers.empty()) {
        none = std::move(answers.front());
        answers.pop_front();
    }
    return none;
}

}  // namespace

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
        return TakeAnswer(folderAnswers, std::optional<QString>());
    };
    hooks.askYesNo = [this](QWidget*, const QString&, const QString& text) {
        questions.append(text);
        return TakeAnswer(questionAnswers, false);
    };
    hooks.chooseSaveFile = [this](QWidget*, const QString&, const QString& proposed,
                                  const QString&) -> std::optional<QString> {
        savesProposed.append(proposed);
        return TakeAnswer(saveAnswers, std::optional<QString>());
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

bool WaitForPostedCalls(int milliseconds) {
    bool ran = false;
    // The context ends the call with this function, should the wait fail.
    QObject context;
    QTimer::singleShot(0, &context, [&ran] { ran = true; });
    return QTest::qWaitFor([&ran] { return ran; }, milliseconds);
}

}  // namespace teluri::test

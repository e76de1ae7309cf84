// The program's modal windows go through these seams, so that tests can
// answer them without a modal loop.
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>
#include <optional>

class QDialog;
class QPrinter;
class QUrl;
class QWidget;

namespace teluri {

// The application's title: the caption of the standard error box.
inline const char* const kApplicationTitle = "Orvak TeluriExplorer";

// Caption of the program's own messages.
QString ErrorCaption();

struct DialogHooks {
    // Shows a message box with one OK button.
    std::function<void(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                       const QString& text)>
        messageBox;
    // Runs a modal dialog and returns its result code.
    std::function<int(QDialog& dialog)> execDialog;
    // Asks for a folder, starting at `start` (the current folder when empty);
    // nothing when the user cancels.
    std::function<std::optional<QString>(QWidget* parent, const QString& start)> chooseFolder;
    // Asks a question with the buttons Yes and No; true for Yes.
    std::function<bool(QWidget* parent, const QString& caption, const QString& text)> askYesNo;
    // Asks for the name of a file to write, proposing the path `proposed`
    // and listing files by `filter`; nothing when the user cancels. The
    // dialog asks before an existing file is replaced.
    std::function<std::optional<QString>(QWidget* parent, const QString& caption,
                                         const QString& proposed, const QString& filter)>
        chooseSaveFile;
    // The printer for a print job, or nothing when there is none.
    std::function<std::unique_ptr<QPrinter>()> printer;
    // Opens a web address in the desktop's web browser.
    std::function<void(const QUrl& url)> openUrl;
};

// The hooks in use; tests replace members and put the defaults back with
// ResetDialogHooks().
DialogHooks& Dialogs();
void ResetDialogHooks();

// The standard error box: the message, the error icon, OK, the application
// title as caption.
void ShowStandardError(QWidget* parent, const QString& message);

// The program's own error message: caption "ｴﾗｰ", error icon, OK.
void ShowErrorMessage(QWidget* parent, const QString& message);

}  // namespace teluri

// Helpers for the window tests: a private program folder (TELURI_HOME) with
// the delivered files, a data folder of pages, and recorded answers to the
// modal windows, so that no test waits on a modal loop.
#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "tests/support/temp_folder.h"

namespace teluri::test {

struct ShownMessage {
    QMessageBox::Icon icon;
    QString caption;
    QString text;
};

class UiFixture {
  public:
    UiFixture();
    ~UiFixture();

    // The program folder (TELURI_HOME) and a data folder, both ending in "/".
    const std::string& Home() const { return home_.Path(); }
    const std::string& Data() const { return data_.Path(); }
    std::string HomeFile(const std::string& name) const { return home_ / name; }
    std::string DataFile(const std::string& name) const { return data_ / name; }

    // Message boxes shown since the fixture was made (or cleared).
    std::vector<ShownMessage> messages;
    // Answers of the folder dialog, taken from the front; none: cancel.
    std::deque<std::optional<QString>> folderAnswers;
    // Folders the dialog was opened at.
    QStringList folderStarts;
    // Runs for each modal dialog shown, with the dialog; returns its result.
    std::function<int(QDialog&)> onDialog = [](QDialog&) { return QDialog::Rejected; };
    // Titles of the dialogs shown.
    QStringList dialogsShown;
    // Questions asked, and their answers from the front; none left: No.
    QStringList questions;
    std::deque<bool> questionAnswers;
    // Paths proposed by the save dialog, and its answers from the front;
    // none left (or nothing): cancel.
    QStringList savesProposed;
    std::deque<std::optional<QString>> saveAnswers;
    // Addresses handed to the desktop's web browser.
    QStringList openedUrls;

  private:
    TempFolder home_;
    TempFolder data_;
};

// Posts a call and waits, for at most `milliseconds`, until it has run: by
// then every call and event posted before it has been delivered. For a check
// that something posted did not happen, or to let posted work finish.
[[nodiscard]] bool WaitForPostedCalls(int milliseconds = 5000);

}  // namespace teluri::test

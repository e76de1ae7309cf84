#include "app/ui/program_folder_lock.h"

#include <QApplication>
#include <QSysInfo>
#include <QWidget>

#include "app/lock_file_check.h"
#include "app/stale_temporaries.h"
#include "app/ui/single_copy_channel.h"
#include "base/messages.h"
#include "base/paths.h"
#include "base/ui/dialogs.h"
#include "base/ui/qtext.h"

namespace teluri {
namespace {

// Brings the main window to the front; false where there is none or where
// the platform does not let a program activate its own window.
bool RaiseMainWindow() {
    if (QGuiApplication::platformName() == "wayland") {
        return false;
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "frmMain" && widget->isVisible()) {
            // Out of the task bar as it was before: maximized stays maximized.
            widget->setWindowState(widget->windowState() & ~Qt::WindowMinimized);
            widget->raise();
            widget->activateWindow();
            return true;
        }
    }
    return false;
}

// Ends a start that found a copy running: silently when that copy came to
// the front.
void TellACopyRuns(CopyAnswer answer) {
    if (answer != CopyAnswer::kDone) {
        ShowErrorMessage(nullptr, QString::fromUtf8("すでに起動しています"));
    }
}

}  // namespace

ProgramFolderLock::ProgramFolderLock(const std::optional<std::string>& folder)
    : lock_(QString::fromStdString(ProgramFile(kLockFileName))) {
    // What a later start asks the running copy: to open its folder, or to
    // come to the front.
    const auto askRunningCopy = [&folder] {
        return folder ? AskRunningCopy(kOpenFolderRequest, *folder) : AskRunningCopy(kRaiseRequest);
    };
    // Only a lock whose copy no longer runs is stale, however old it is.
    lock_.setStaleLockTime(0);
    const std::string path = ProgramFile(kLockFileName);
    switch (CheckLockFile(path, QSysInfo::machineHostName().toStdString())) {
        case LockFileKind::kNotARegularFile:
            // A pipe would hold the start for ever, a link lead elsewhere.
            ShowErrorMessage(nullptr,
                             QString::fromStdString(msg::Format(msg::kCannotOpenFile, path)));
            return;
        case LockFileKind::kUnusable:
            // Nothing in it tells whether its copy runs: the socket does.
            if (const CopyAnswer answer = askRunningCopy(); answer != CopyAnswer::kNoCopy) {
                TellACopyRuns(answer);
                return;
            }
            // Removed unless a copy on this host still holds it.
            lock_.removeStaleLockFile();
            break;
        case LockFileKind::kAbsent:
        case LockFileKind::kOfThisHost:
            break;
    }
    if (lock_.tryLock()) {
        Take();
        return;
    }
    if (lock_.error() != QLockFile::LockFailedError) {
        taken_ = true;
        return;
    }
    TellACopyRuns(askRunningCopy());
}

ProgramFolderLock::~ProgramFolderLock() = default;

void ProgramFolderLock::Release() {
    server_.reset();
    lock_.unlock();
}

void ProgramFolderLock::Take() {
    taken_ = true;
    RemoveStaleTemporaryFiles(ExeFolder());
    server_ = std::make_unique<SingleCopyServer>();
    server_->Handle(kRaiseRequest, [](const std::string&) { return RaiseMainWindow(); });
    server_->Handle(kOpenFolderRequest, [this](const std::string& folder) {
        if (folder.empty()) {
            return false;
        }
        emit folderHandedOver(FromLocalPath(folder));
        RaiseMainWindow();
        return true;
    });
    if (!server_->Listen()) {
        server_.reset();  // later starts then show the message
    }
}

}  // namespace teluri

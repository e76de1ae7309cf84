// The program's entry: one running copy per program folder (a folder given
// to a second start goes to the running copy), the splash window while the
// windows are created, the folder of the command line opened once the
// window is shown, then the message loop until the main window closes or
// the program is told to end.
#include <QApplication>
#include <QDir>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/ui/desktop_program.h"
#include "app/ui/main_window.h"
#include "app/ui/program_folder_lock.h"
#include "app/ui/session_end.h"
#include "app/ui/version_box.h"
#include "base/ui/dialogs.h"
#include "base/ui/fonts.h"
#include "base/ui/guard.h"
#include "base/ui/qtext.h"

int main(int argc, char** argv) {
    // Answered before the toolkit starts, so that they need no display.
    if (const auto status =
            teluri::AnswerInformationOption({argv + 1, argv + argc}, std::cout, std::cerr)) {
        return *status;
    }
    QApplication application(argc, argv);
    teluri::SetUpDesktopProgram();
    QApplication::setApplicationName(teluri::kApplicationTitle);
    QApplication::setFont(teluri::WindowFont());
    // The arguments the toolkit left.
    std::vector<std::string> args;
    for (const QString& arg : QApplication::arguments().mid(1)) {
        args.push_back(teluri::ToLocalPath(arg));
    }
    const std::optional<std::string> folder =
        teluri::FolderArgument(args, teluri::ToLocalPath(QDir::currentPath()));
    teluri::ProgramFolderLock lock(folder);
    if (!lock.Taken()) {
        return 0;
    }

    auto splash = std::make_unique<teluri::VersionBox>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    teluri::MainWindow mainWindow(nullptr, teluri::TutorialLoad::kAfterFirstPaint);
    QObject::connect(&lock, &teluri::ProgramFolderLock::folderHandedOver, &mainWindow,
                     [&mainWindow](const QString& handed) {
                         teluri::Guarded(&mainWindow, [&mainWindow, &handed] {
                             mainWindow.OpenDataFolder(teluri::ToLocalPath(handed));
                         });
                     });
    new teluri::SessionEnd(mainWindow, lock);
    mainWindow.show();
    splash.reset();
    if (folder) {
        teluri::Guarded(&mainWindow,
                        [&mainWindow, &folder] { mainWindow.OpenDataFolder(*folder); });
    }
    return QApplication::exec();
}

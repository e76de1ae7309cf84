// The program's entry: one running copy per program folder, the splash
// window while the windows are created, then the message loop until the
// main window closes.
#include <QApplication>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/ui/desktop_program.h"
#include "app/ui/main_window.h"
#include "app/ui/program_folder_lock.h"
#include "app/ui/version_box.h"
#include "base/ui/dialogs.h"
#include "base/ui/fonts.h"

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
    const teluri::ProgramFolderLock lock;
    if (!lock.Taken()) {
        return 0;
    }

    auto splash = std::make_unique<teluri::VersionBox>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    teluri::MainWindow mainWindow(nullptr, teluri::TutorialLoad::kAfterFirstPaint);
    mainWindow.show();
    splash.reset();
    return QApplication::exec();
}

// The program's entry: the splash window while the windows are created,
// then the message loop until the main window closes.
#include <QApplication>

#include <memory>

#include "app/ui/frmlogo.h"
#include "app/ui/frmmain.h"
#include "base/ui/dialogs.h"
#include "base/ui/fonts.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(teluri::kApplicationTitle);
    QApplication::setFont(teluri::WindowFont());

    auto splash = std::make_unique<teluri::TfrmLogo>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    teluri::TfrmMain mainWindow(nullptr, teluri::TutorialLoad::kAfterFirstPaint);
    mainWindow.show();
    splash.reset();
    return QApplication::exec();
}

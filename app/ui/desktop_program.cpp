#include "app/ui/desktop_program.h"

#include <QGuiApplication>

#include "base/ui/pictures.h"
#include "base/ui/translations.h"

namespace teluri {

void SetUpDesktopProgram() {
    LoadToolkitTranslations();
    QGuiApplication::setWindowIcon(ProgramIcon());
    QGuiApplication::setDesktopFileName(TELURI_APP_ID);
}

}  // namespace teluri

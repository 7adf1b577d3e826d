#include "ui/main/application.h"

#include <QGuiApplication>

namespace marevo {

// The build defines these once for the program, its desktop entry and its package.
void describeApplication() {
    QCoreApplication::setApplicationName(QStringLiteral(MAREVO_APP_NAME));
    QCoreApplication::setApplicationVersion(QStringLiteral(MAREVO_DISPLAY_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(MAREVO_APP_ID));
}

} // namespace marevo

#include "ui/main/application.h"

#include <QGuiApplication>
#include <QTranslator>

namespace marevo {

// The build defines these once for the program, its desktop entry and its package.
void describeApplication() {
    QCoreApplication::setApplicationName(QStringLiteral(MAREVO_APP_NAME));
    QCoreApplication::setApplicationVersion(QStringLiteral(MAREVO_DISPLAY_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(MAREVO_APP_ID));
}

void translateQtTexts() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral(":/marevo/qt_sl.qm"))) {
        QCoreApplication::installTranslator(translator);
    }
}

} // namespace marevo

#include "ui/main/application.h"

#include "identity.h"
#include "ui/common/loaded_window.h"
#include "ui/common/look.h"

#include <QApplication>
#include <QTranslator>

namespace marevo {

void describeApplication() {
    QCoreApplication::setApplicationName(QStringLiteral(MAREVO_APP_NAME));
    QCoreApplication::setApplicationVersion(QStringLiteral(MAREVO_DISPLAY_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(MAREVO_APP_ID));
}

void setUpApplication() {
    // Every control starts in the windows' font, so none lays out its text twice.
    QApplication::setFont(designFont({}));
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral(":/marevo/qt_sl.qm"))) {
        QCoreApplication::installTranslator(translator);
    }
    LoadedWindow::makeAccessibleAsWindows();
}

} // namespace marevo

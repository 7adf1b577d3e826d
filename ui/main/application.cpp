#include "ui/main/application.h"

#include "identity.h"
#include "ui/common/loaded_window.h"
#include "ui/common/look.h"

#include <QApplication>
#include <QTranslator>
#include <QWidget>
#include <QWindow>

namespace marevo {

namespace {

// A Wayland compositor sizes the window it maximises, and weston ends a program whose window then
// keeps a size of its own (Super+Shift+M maximises any window there). So on Wayland a window of
// fixed size has no maximum: maximised, it shows its contents at the top left; restored, Qt
// gives it back its own size.
class NoMaximumOnWayland final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Shown: after a widget has fixed its size, which a message box does as it is shown,
        // and before the compositor first configures the window.
        auto* window = qobject_cast<QWindow*>(watched);
        if (window != nullptr && event->type() == QEvent::Show &&
            window->minimumSize() == window->maximumSize()) {
            window->setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
        }
        return false;
    }
};

} // namespace

void choosePlatform() {
#ifdef Q_OS_LINUX
    // The windows are what X11 expresses and xdg-shell does not: a tool window off the taskbar,
    // brought to the front on demand, beside a main window no compositor maximises. So X11 where
    // an X server answers (XWayland in a Wayland session), unless the user chose; Qt tries the
    // listed platforms in turn, and Wayland stays where no X server is.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    }
#endif
}

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
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        QCoreApplication::instance()->installEventFilter(
            new NoMaximumOnWayland(QCoreApplication::instance()));
    }
}

} // namespace marevo

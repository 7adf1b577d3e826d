#include "ui/common/loaded_window.h"

#include <QAccessibleWidget>
#include <QCoreApplication>

namespace marevo {

namespace {

int loaded = 0;

// Screen readers take a plain top-level widget for a filler; ours are windows.
QAccessibleInterface* windowInterface(const QString& /*className*/, QObject* object) {
    if (auto* window = qobject_cast<LoadedWindow*>(object)) {
        return new QAccessibleWidget(window, QAccessible::Window);
    }
    return nullptr;
}

} // namespace

LoadedWindow::LoadedWindow(Qt::WindowFlags flags) : QWidget(nullptr, flags) {
    setAttribute(Qt::WA_DeleteOnClose);
    static const bool accessibleAsWindows = [] {
        QAccessible::installFactory(windowInterface);
        return true;
    }();
    Q_UNUSED(accessibleAsWindows);
    ++loaded;
}

LoadedWindow::~LoadedWindow() {
    if (--loaded == 0) {
        QCoreApplication::quit();
    }
}

int LoadedWindow::loadedCount() {
    return loaded;
}

} // namespace marevo

#include "ui/common/loaded_window.h"

#include <QAccessibleWidget>

namespace marevo {

namespace {

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
}

void LoadedWindow::makeAccessibleAsWindows() {
    QAccessible::installFactory(windowInterface);
}

} // namespace marevo

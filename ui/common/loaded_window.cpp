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

// On Windows a thin frame that cannot be dragged, not the resizable one Qt
// gives by default.
#ifdef Q_OS_WIN
constexpr Qt::WindowFlags kFixedFrame = Qt::MSWindowsFixedSizeDialogHint;
#else
constexpr Qt::WindowFlags kFixedFrame = {};
#endif

} // namespace

LoadedWindow::LoadedWindow(Qt::WindowFlags flags) : QWidget(nullptr, flags | kFixedFrame) {
    setAttribute(Qt::WA_DeleteOnClose);
}

void LoadedWindow::makeAccessibleAsWindows() {
    QAccessible::installFactory(windowInterface);
}

} // namespace marevo

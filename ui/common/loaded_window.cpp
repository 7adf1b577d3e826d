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

// On Windows a thin frame that cannot be dragged, not the resizable one Qt gives by default.
// With it Windows treats the window as a dialog whatever Qt calls it. Called a dialog in Qt
// too, the main window skips the graphics-card probe through Direct3D that Qt runs before it
// places its first Qt::Window, for OpenGL windows on laptops with two cards: these windows are
// drawn without OpenGL, and under Wine the probe was 0.2 s of the start.
Qt::WindowFlags onThisSystem(Qt::WindowFlags flags) {
#ifdef Q_OS_WIN
    if ((flags & Qt::WindowType_Mask) == Qt::Window) {
        flags = (flags & ~Qt::WindowFlags(Qt::WindowType_Mask)) | Qt::Dialog;
    }
    flags |= Qt::MSWindowsFixedSizeDialogHint;
#endif
    return flags;
}

} // namespace

LoadedWindow::LoadedWindow(Qt::WindowFlags flags) : QWidget(nullptr, onThisSystem(flags)) {
    setAttribute(Qt::WA_DeleteOnClose);
}

void LoadedWindow::makeAccessibleAsWindows() {
    QAccessible::installFactory(windowInterface);
}

} // namespace marevo

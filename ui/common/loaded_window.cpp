#include "ui/common/loaded_window.h"

#include <QCoreApplication>

namespace marevo {

namespace {

int loaded = 0;

} // namespace

LoadedWindow::LoadedWindow(Qt::WindowFlags flags) : QWidget(nullptr, flags) {
    setAttribute(Qt::WA_DeleteOnClose);
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

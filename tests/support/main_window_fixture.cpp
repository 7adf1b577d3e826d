#include "main_window_fixture.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>

namespace marevo::testing {

int windowsKeepingTheProgramRunning() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return static_cast<int>(std::count_if(windows.begin(), windows.end(), [](const QWidget* w) {
        return w->isVisible() && w->testAttribute(Qt::WA_QuitOnClose);
    }));
}

} // namespace marevo::testing

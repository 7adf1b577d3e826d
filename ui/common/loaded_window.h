#pragma once

#include <QWidget>

namespace marevo {

// A top-level window of the calculator. Closing one unloads it: the window and
// its controls are destroyed.
class LoadedWindow : public QWidget {
    Q_OBJECT

public:
    explicit LoadedWindow(Qt::WindowFlags flags);

    // Lets screen readers take the calculator's windows for windows. Called once
    // where the application is set up.
    static void makeAccessibleAsWindows();
};

} // namespace marevo

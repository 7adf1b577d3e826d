#pragma once

#include <QWidget>

namespace marevo {

// A top-level window of the calculator. Closing one unloads it: the window and
// its controls are destroyed. The application ends when no such window is
// loaded any more, whatever kind the last one was (Qt by itself would not wait
// for a tool window).
class LoadedWindow : public QWidget {
    Q_OBJECT

public:
    explicit LoadedWindow(Qt::WindowFlags flags);
    ~LoadedWindow() override;

    static int loadedCount();
};

} // namespace marevo

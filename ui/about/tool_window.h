#pragma once

#include <Qt>

class QWidget;

namespace marevo {

// A small tool window with a caption and no buttons, independent of every other
// window: no window manager keeps it above the main window, and no taskbar or
// pager lists it.

// The flags to create the window with, for the platform the program runs on.
Qt::WindowFlags independentToolWindowFlags();

// Tells the window manager the rest. Called once, after the window is built and
// before it is first shown, when the window manager reads what it is told.
void presentAsIndependentToolWindow(QWidget* window);

} // namespace marevo

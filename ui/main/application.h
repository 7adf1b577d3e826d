#pragma once

namespace marevo {

// Chooses the window system the windows are shown on. Called before the
// QApplication is made.
void choosePlatform();

// Gives the application its name, the version it shows ("1.00") and its desktop
// id. Called before the QApplication is made.
void describeApplication();

// Sets up the made application: the windows' font for every control, the texts
// that Qt itself shows (a text box's menu) in Slovenian like the rest of the
// program whatever the user's locale, the windows as screen readers should take
// them, and on Wayland windows of fixed size that a compositor may maximise.
void setUpApplication();

} // namespace marevo

#pragma once

namespace marevo {

// Gives the application its name, the version it shows ("1.00") and its desktop
// id. Called before the QApplication is made.
void describeApplication();

} // namespace marevo

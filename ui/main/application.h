#pragma once

namespace marevo {

// Gives the application its name, the version it shows ("1.00") and its desktop
// id. Called before the QApplication is made.
void describeApplication();

// Makes the texts that Qt itself shows (a text box's menu, a message box's
// button) Slovenian like the rest of the program, whatever the user's locale.
// Called once the QApplication exists.
void translateQtTexts();

} // namespace marevo

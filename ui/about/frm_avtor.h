#pragma once

#include "ui/common/loaded_window.h"

class QLabel;
class QPushButton;

namespace marevo {

// Who made the calculator and for which diving club: a small tool window,
// independent of the main window, with the club's emblem and details and one
// button that closes it.
class FrmAvtor : public LoadedWindow {
    Q_OBJECT

public:
    // Shows the single About window, creating it if it is not loaded, and
    // brings it to the front, restored if minimised and activated, where it stands.
    static FrmAvtor* open();
    // The loaded About window, or nullptr.
    static FrmAvtor* instance();

    // Controls, named as the window is designed.
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Image1 = nullptr;
    QPushButton* CmdZapri = nullptr;

    void CmdZapri_Click();

private:
    FrmAvtor();
    void createControls();
};

} // namespace marevo

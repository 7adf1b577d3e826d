#pragma once

#include "ui/common/loaded_window.h"

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

    void CmdZapri_Click();

private:
    FrmAvtor();
    void createControls();
};

} // namespace marevo

#pragma once

#include "ui/common/loaded_window.h"
#include "ui/common/text_box.h"

class QLabel;

namespace marevo {

// The calculator's working window: the cylinder's starting and wanted final
// state, the top-up oxygen percentage and the pre-mixer warning.
class FrmMarevo : public LoadedWindow {
    Q_OBJECT

public:
    FrmMarevo();

    // The controls that the handlers read or write, named as the window is designed.
    QLabel* Lblprocent = nullptr;
    QLabel* LblPozor = nullptr;
    TextBox* TxTZpritisk = nullptr;
    TextBox* TxTZkisik = nullptr;
    TextBox* TxTKkisik = nullptr;
    TextBox* TxtKpritisk = nullptr;

    void Form_Load();
    void CmdIzracun_Click();
    void CmdBrisi_Click();
    void CmdIzhod_Click();
    void CmdAvtor_Click();

private:
    void createControls();
    void restoreDefaults();
    void showResult(const QString& display);
    void showWarning(const QString& warning);
};

} // namespace marevo

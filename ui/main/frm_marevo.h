#pragma once

#include "ui/common/loaded_window.h"
#include "ui/common/text_box.h"

#include <array>

class QFrame;
class QLabel;
class QPushButton;

namespace marevo {

// The calculator's working window: the cylinder's starting and wanted final
// state, the top-up oxygen percentage and the pre-mixer warning.
class FrmMarevo : public LoadedWindow {
    Q_OBJECT

public:
    FrmMarevo();

    // Controls, named as the window is designed.
    std::array<QFrame*, 2> Shape1{};
    QFrame* Shape2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Lblprocent = nullptr;
    QLabel* LblPozor = nullptr;
    QLabel* Image1 = nullptr;
    TextBox* TxTZpritisk = nullptr;
    TextBox* TxTZkisik = nullptr;
    TextBox* TxTKkisik = nullptr;
    TextBox* TxtKpritisk = nullptr;
    QPushButton* CmdAvtor = nullptr;
    QPushButton* CmdIzhod = nullptr;
    QPushButton* CmdBrisi = nullptr;
    QPushButton* CmdIzracun = nullptr;

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

#include "ui/main/frm_marevo.h"

#include "calc/blend.h"
#include "ui/about/frm_avtor.h"
#include "ui/common/controls.h"
#include "ui/common/feedback.h"
#include "ui/common/window_icon.h"

#include <QAccessible>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace marevo {

namespace {

constexpr Qt::Alignment kLeft = Qt::AlignLeft;
constexpr Qt::Alignment kRight = Qt::AlignRight;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter;
constexpr FontDesign kHeading{9.75, true};
constexpr FontDesign kSentence{12.0, true};
constexpr FontDesign kWarning{8.25, true};
constexpr QColor kStatePanel{255, 255, 128};
constexpr QColor kResultPanel{128, 255, 128};
constexpr QColor kBlue{0, 0, 255};
constexpr QColor kRed{255, 0, 0};

constexpr Twips kClientArea{0, 0, 5790, 5130};

// The window as designed. Drawn controls come first, back to front: each lies
// above the ones before it. Text boxes and buttons, which lie above every drawn
// control, follow in tab order.
// clang-format off
const ControlDesign kControls[] = {
    // name, index, kind, text or picture, {left, top, width, height} in twips, font, alignment, colour
    {"Shape2",      -1, ControlKind::Panel,   "",                                       {  120, 3960, 5535,  615}, {},        {},      kResultPanel},
    {"Shape1",       1, ControlKind::Panel,   "",                                       {  120, 2160, 4095, 1575}, {},        {},      kStatePanel},
    {"Shape1",       0, ControlKind::Panel,   "",                                       {  120,  120, 4095, 1575}, {},        {},      kStatePanel},
    {"Label1",      -1, ControlKind::Label,   "Vnesi pritisk v jeklenki (bar):",        {    0,  720, 2895,  375}, {},        kRight,  {}},
    {"Label2",      -1, ControlKind::Label,   "Odstotek kisika v jeklenki (%):",        {  120, 1200, 2775,  255}, {},        kRight,  {}},
    {"Label3",      -1, ControlKind::Label,   "Željen odstotek kisika v jeklenki (%):", { -120, 2760, 3015,  375}, {},        kRight,  {}},
    {"Label4",      -1, ControlKind::Label,   "ZAČETNO STANJE V JEKLENKI",              {  240,  240, 3735,  375}, kHeading,  kRight,  {}},
    {"Label5",      -1, ControlKind::Label,   "Končni pritisk v jeklenki (bar): ",      { -360, 3240, 3255,  495}, {},        kRight,  {}},
    {"Label6",      -1, ControlKind::Label,   "KONČNO STANJE V JEKLENKI",               {  600, 2280, 3375,  375}, kHeading,  kRight,  {}},
    {"Label7",      -1, ControlKind::Label,   "V jeklenko dodaj marevo z ",             {  360, 4080, 3255,  375}, kSentence, kLeft,   {}},
    {"Lblprocent",  -1, ControlKind::Label,   "",                                       { 3480, 4080,  855,  495}, kSentence, kLeft,   kBlue},
    {"Label8",      -1, ControlKind::Label,   "% kisika!",                              { 4320, 4080, 1455,  375}, kSentence, kLeft,   {}},
    {"LblPozor",    -1, ControlKind::Label,   "",                                       {  120, 4680, 5535,  375}, kWarning,  kCentre, kRed},
    {"Image1",      -1, ControlKind::Picture, ":/marevo/banner.jpg",                    { 4440,  120, 1050,  540}, {},        {},      {}},
    {"TxTZpritisk", -1, ControlKind::TextBox, "1",                                      { 3000,  720,  975,  285}, {},        kLeft,   {}},
    {"TxTZkisik",   -1, ControlKind::TextBox, "21",                                     { 3000, 1200,  975,  285}, {},        kLeft,   {}},
    {"TxTKkisik",   -1, ControlKind::TextBox, "21",                                     { 3000, 2760,  975,  285}, {},        kLeft,   {}},
    {"TxtKpritisk", -1, ControlKind::TextBox, "200",                                    { 3000, 3240,  975,  285}, {},        kLeft,   {}},
    {"CmdAvtor",    -1, ControlKind::Button,  "O kalkulatorju",                         { 4320, 3000, 1335,  735}, {},        kCentre, {}},
    {"CmdIzhod",    -1, ControlKind::Button,  "Izhod",                                  { 4320, 2280, 1335,  615}, {},        kCentre, {}},
    {"CmdBrisi",    -1, ControlKind::Button,  "Briši",                                  { 4320, 1560, 1335,  615}, {},        kCentre, {}},
    {"CmdIzracun",  -1, ControlKind::Button,  "Izračunaj",                              { 4320,  840, 1335,  615}, kHeading,  kCentre, {}},
};
// clang-format on

} // namespace

FrmMarevo::FrmMarevo()
    : LoadedWindow(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("FrmMarevo"));
    setWindowTitle(QStringLiteral("Kalkulator za izračun mešanice Marevo"));
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(drawWindowIcon(16)));
    icon.addPixmap(QPixmap::fromImage(drawWindowIcon(32)));
    setWindowIcon(icon);
    applyWindowLook(this, toPixels(kClientArea).size());
    createControls();
    Form_Load();
}

void FrmMarevo::createControls() {
    buildControls(this, kControls);
    Shape1 = {control<QFrame>(this, "Shape1", 0), control<QFrame>(this, "Shape1", 1)};
    Shape2 = control<QFrame>(this, "Shape2");
    Label1 = control<QLabel>(this, "Label1");
    Label2 = control<QLabel>(this, "Label2");
    Label3 = control<QLabel>(this, "Label3");
    Label4 = control<QLabel>(this, "Label4");
    Label5 = control<QLabel>(this, "Label5");
    Label6 = control<QLabel>(this, "Label6");
    Label7 = control<QLabel>(this, "Label7");
    Label8 = control<QLabel>(this, "Label8");
    Lblprocent = control<QLabel>(this, "Lblprocent");
    LblPozor = control<QLabel>(this, "LblPozor");
    Image1 = control<QLabel>(this, "Image1");
    TxTZpritisk = control<TextBox>(this, "TxTZpritisk");
    TxTZkisik = control<TextBox>(this, "TxTZkisik");
    TxTKkisik = control<TextBox>(this, "TxTKkisik");
    TxtKpritisk = control<TextBox>(this, "TxtKpritisk");
    CmdAvtor = control<QPushButton>(this, "CmdAvtor");
    CmdIzhod = control<QPushButton>(this, "CmdIzhod");
    CmdBrisi = control<QPushButton>(this, "CmdBrisi");
    CmdIzracun = control<QPushButton>(this, "CmdIzracun");

    // What a screen reader says: each box by its caption, the panels by their role.
    Label1->setBuddy(TxTZpritisk);
    Label2->setBuddy(TxTZkisik);
    Label3->setBuddy(TxTKkisik);
    Label5->setBuddy(TxtKpritisk);
    Shape1[0]->setAccessibleName(QStringLiteral("Začetno stanje v jeklenki"));
    Shape1[1]->setAccessibleName(QStringLiteral("Končno stanje v jeklenki"));
    Shape2->setAccessibleName(QStringLiteral("Rezultat"));
    Image1->setAccessibleName(QStringLiteral("Marevo"));

    connect(CmdIzracun, &QPushButton::clicked, this, &FrmMarevo::CmdIzracun_Click);
    connect(CmdBrisi, &QPushButton::clicked, this, &FrmMarevo::CmdBrisi_Click);
    connect(CmdIzhod, &QPushButton::clicked, this, &FrmMarevo::CmdIzhod_Click);
    connect(CmdAvtor, &QPushButton::clicked, this, &FrmMarevo::CmdAvtor_Click);
}

void FrmMarevo::restoreDefaults() {
    // The text boxes, top to bottom, each back to its initial text, all selected.
    for (const ControlDesign& c : kControls) {
        if (c.kind == ControlKind::TextBox) {
            auto* box = control<TextBox>(this, c.name);
            box->setText(QString::fromUtf8(c.text));
            box->selectWholeText();
        }
    }
}

void FrmMarevo::showResult(const QString& display) {
    Lblprocent->setText(display);
    // Heard as one sentence, the number between its fixed words.
    Lblprocent->setAccessibleName(
        display.isEmpty() ? QString() : Label7->text() + display + u' ' + Label8->text());
}

void FrmMarevo::showWarning(const QString& warning) {
    LblPozor->setText(warning);
    // Screen readers that take alerts speak it at once; the others read the label's new text.
    if (!warning.isEmpty()) {
        QAccessibleEvent alert(LblPozor, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

void FrmMarevo::Form_Load() {
    restoreDefaults();
    showResult({});
    showWarning({});
}

void FrmMarevo::CmdIzracun_Click() {
    const BlendOutcome outcome = calculateBlend(
        {TxTZpritisk->text(), TxTZkisik->text(), TxTKkisik->text(), TxtKpritisk->text()},
        QLocale());
    Feedback& feedback = Feedback::current();

    if (const auto* error = std::get_if<InputError>(&outcome)) {
        feedback.showMessage(this, error->message);
        TextBox* const boxes[] = {TxTZpritisk, TxTZkisik, TxTKkisik, TxtKpritisk};
        TextBox* offending = boxes[static_cast<int>(error->input)];
        offending->setFocus(Qt::OtherFocusReason);
        offending->selectWholeText();
        feedback.beep();
    } else if (const auto* result = std::get_if<BlendResult>(&outcome)) {
        if (result->overLimit) {
            showWarning(overLimitWarning());
            feedback.showMessage(this, overLimitMessage());
        } else {
            showWarning({});
        }
        showResult(result->display);
    } else {
        feedback.showMessage(this, std::get<ArithmeticFailure>(outcome).message);
    }
}

void FrmMarevo::CmdBrisi_Click() {
    restoreDefaults();
    showWarning({});
    showResult({});
    TxTZpritisk->setFocus(Qt::OtherFocusReason);
}

void FrmMarevo::CmdIzhod_Click() {
    close();
}

void FrmMarevo::CmdAvtor_Click() {
    Feedback::current().beep();
    FrmAvtor::open();
}

} // namespace marevo

#include "ui/main/frm_marevo.h"

#include "calc/blend.h"
#include "identity.h"
#include "ui/about/frm_avtor.h"
#include "ui/common/controls.h"
#include "ui/common/message_box_and_beep.h"

#include <QAccessible>
#include <QIcon>
#include <QImageReader>
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

// The fixed words of the result sentence, around the number.
constexpr char kSentenceStart[] = "V jeklenko dodaj marevo z ";
constexpr char kSentenceEnd[] = "% kisika!";

// The window as designed. Drawn controls come first, back to front: each lies
// above the ones before it. Text boxes and buttons, which lie above every drawn
// control, follow in tab order. Shape1 is an array of two panels: index 1, then 0.
// clang-format off
constexpr ControlDesign kControls[] = {
    // name, kind, text or picture, {left, top, width, height} in twips, font, alignment, colour, buddy, spoken name
    {"Shape2",      ControlKind::Panel,   "",                                       {  120, 3960, 5535,  615}, {},        {},      kResultPanel, nullptr,       "Rezultat"},
    {"Shape1",      ControlKind::Panel,   "",                                       {  120, 2160, 4095, 1575}, {},        {},      kStatePanel,  nullptr,       "Končno stanje v jeklenki"},
    {"Shape1",      ControlKind::Panel,   "",                                       {  120,  120, 4095, 1575}, {},        {},      kStatePanel,  nullptr,       "Začetno stanje v jeklenki"},
    {"Label1",      ControlKind::Label,   "Vnesi pritisk v jeklenki (bar):",        {    0,  720, 2895,  375}, {},        kRight,  {},           "TxTZpritisk", nullptr},
    {"Label2",      ControlKind::Label,   "Odstotek kisika v jeklenki (%):",        {  120, 1200, 2775,  255}, {},        kRight,  {},           "TxTZkisik",   nullptr},
    {"Label3",      ControlKind::Label,   "Željen odstotek kisika v jeklenki (%):", { -120, 2760, 3015,  375}, {},        kRight,  {},           "TxTKkisik",   nullptr},
    {"Label4",      ControlKind::Label,   "ZAČETNO STANJE V JEKLENKI",              {  240,  240, 3735,  375}, kHeading,  kRight,  {},           nullptr,       nullptr},
    {"Label5",      ControlKind::Label,   "Končni pritisk v jeklenki (bar): ",      { -360, 3240, 3255,  495}, {},        kRight,  {},           "TxtKpritisk", nullptr},
    {"Label6",      ControlKind::Label,   "KONČNO STANJE V JEKLENKI",               {  600, 2280, 3375,  375}, kHeading,  kRight,  {},           nullptr,       nullptr},
    {"Label7",      ControlKind::Label,   kSentenceStart,                           {  360, 4080, 3255,  375}, kSentence, kLeft,   {},           nullptr,       nullptr},
    {"Lblprocent",  ControlKind::Label,   "",                                       { 3480, 4080,  855,  495}, kSentence, kLeft,   kBlue,        nullptr,       nullptr},
    {"Label8",      ControlKind::Label,   kSentenceEnd,                             { 4320, 4080, 1455,  375}, kSentence, kLeft,   {},           nullptr,       nullptr},
    {"LblPozor",    ControlKind::Label,   "",                                       {  120, 4680, 5535,  375}, kWarning,  kCentre, kRed,         nullptr,       nullptr},
    {"Image1",      ControlKind::Picture, ":/marevo/banner.jpg",                    { 4440,  120, 1050,  540}, {},        {},      {},           nullptr,       "Marevo"},
    {"TxTZpritisk", ControlKind::TextBox, "1",                                      { 3000,  720,  975,  285}, {},        kLeft,   {},           nullptr,       nullptr},
    {"TxTZkisik",   ControlKind::TextBox, "21",                                     { 3000, 1200,  975,  285}, {},        kLeft,   {},           nullptr,       nullptr},
    {"TxTKkisik",   ControlKind::TextBox, "21",                                     { 3000, 2760,  975,  285}, {},        kLeft,   {},           nullptr,       nullptr},
    {"TxtKpritisk", ControlKind::TextBox, "200",                                    { 3000, 3240,  975,  285}, {},        kLeft,   {},           nullptr,       nullptr},
    {"CmdAvtor",    ControlKind::Button,  "O kalkulatorju",                         { 4320, 3000, 1335,  735}, {},        kCentre, {},           nullptr,       nullptr},
    {"CmdIzhod",    ControlKind::Button,  "Izhod",                                  { 4320, 2280, 1335,  615}, {},        kCentre, {},           nullptr,       nullptr},
    {"CmdBrisi",    ControlKind::Button,  "Briši",                                  { 4320, 1560, 1335,  615}, {},        kCentre, {},           nullptr,       nullptr},
    {"CmdIzracun",  ControlKind::Button,  "Izračunaj",                              { 4320,  840, 1335,  615}, kHeading,  kCentre, {},           nullptr,       nullptr},
};
// clang-format on

} // namespace

FrmMarevo::FrmMarevo()
    : LoadedWindow(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("FrmMarevo"));
    setWindowTitle(QStringLiteral(MAREVO_WINDOW_TITLE));
    QIcon icon;
    for (const char* path : {":/marevo/icon-16.png", ":/marevo/icon-32.png"}) {
        // PNG alone: guessing the format, Qt would load every image plugin to ask it first.
        QImageReader reader(QString::fromLatin1(path), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImageReader(&reader));
    }
    setWindowIcon(icon);
    applyWindowLook(this, toPixels(kClientArea).size());
    createControls();
    Form_Load();
}

void FrmMarevo::createControls() {
    const BuiltControls built = buildControls(this, kControls);
    Lblprocent = builtAs<QLabel>(built, placeOf(kControls, "Lblprocent"));
    LblPozor = builtAs<QLabel>(built, placeOf(kControls, "LblPozor"));
    TxTZpritisk = builtAs<TextBox>(built, placeOf(kControls, "TxTZpritisk"));
    TxTZkisik = builtAs<TextBox>(built, placeOf(kControls, "TxTZkisik"));
    TxTKkisik = builtAs<TextBox>(built, placeOf(kControls, "TxTKkisik"));
    TxtKpritisk = builtAs<TextBox>(built, placeOf(kControls, "TxtKpritisk"));

    connect(builtAs<QPushButton>(built, placeOf(kControls, "CmdIzracun")), &QPushButton::clicked,
            this, &FrmMarevo::CmdIzracun_Click);
    connect(builtAs<QPushButton>(built, placeOf(kControls, "CmdBrisi")), &QPushButton::clicked,
            this, &FrmMarevo::CmdBrisi_Click);
    connect(builtAs<QPushButton>(built, placeOf(kControls, "CmdIzhod")), &QPushButton::clicked,
            this, &FrmMarevo::CmdIzhod_Click);
    connect(builtAs<QPushButton>(built, placeOf(kControls, "CmdAvtor")), &QPushButton::clicked,
            this, &FrmMarevo::CmdAvtor_Click);
}

void FrmMarevo::restoreDefaults() {
    // The text boxes, top to bottom, each back to its initial text, all selected.
    for (TextBox* box : {TxTZpritisk, TxTZkisik, TxTKkisik, TxtKpritisk}) {
        box->restoreInitialText();
    }
}

void FrmMarevo::showResult(const QString& display) {
    Lblprocent->setText(display);
    // Heard as one sentence, the number between its fixed words.
    const QString sentence =
        QString::fromUtf8(kSentenceStart) + display + u' ' + QString::fromUtf8(kSentenceEnd);
    Lblprocent->setAccessibleName(display.isEmpty() ? QString() : sentence);
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
    MessageBoxAndBeep& boxAndBeep = MessageBoxAndBeep::current();

    if (const auto* error = std::get_if<InputError>(&outcome)) {
        boxAndBeep.showMessage(this, error->message);
        TextBox* const boxes[] = {TxTZpritisk, TxTZkisik, TxTKkisik, TxtKpritisk};
        TextBox* offending = boxes[static_cast<int>(error->input)];
        offending->setFocus(Qt::OtherFocusReason);
        offending->selectWholeText();
        boxAndBeep.beep();
    } else if (const auto* result = std::get_if<BlendResult>(&outcome)) {
        if (result->overLimit) {
            showWarning(overLimitWarning());
            boxAndBeep.showMessage(this, overLimitMessage());
        } else {
            showWarning({});
        }
        showResult(result->display);
    } else {
        boxAndBeep.showMessage(this, std::get<ArithmeticFailure>(outcome).message);
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
    MessageBoxAndBeep::current().beep();
    FrmAvtor::open();
}

} // namespace marevo

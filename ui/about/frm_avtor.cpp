#include "ui/about/frm_avtor.h"

#include "ui/about/club_details.h"
#include "ui/about/tool_window.h"
#include "ui/common/controls.h"

#include <QPointer>
#include <QPushButton>

#include <algorithm>
#include <array>

namespace marevo {

namespace {

constexpr Qt::Alignment kLeft = Qt::AlignLeft;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter;
constexpr FontDesign kBold{8.25, true};

// Two texts with a blank between them, joined when the program is compiled.
template <std::size_t N, std::size_t M>
constexpr std::array<char, N + M> joinedByBlank(const char (&first)[N], const char (&second)[M]) {
    std::array<char, N + M> joined{};
    std::copy_n(first, N - 1, joined.begin());
    joined[N - 1] = ' ';
    std::copy_n(second, M, joined.begin() + N); // with its terminating zero
    return joined;
}

constexpr auto kInvitation =
    joinedByBlank("Vprašanja, pripombe in predloge pošlji avtorju na naslov:", club::kAuthorEmail);

constexpr Twips kClientArea{0, 0, 4680, 2385};

// The window as designed. Drawn controls come first, back to front; the button,
// which lies above all of them (over the right end of Label3's box), comes last.
// Label2 and Label3 reach past the right edge and Label6 past the bottom edge of
// the window, which clips them.
// clang-format off
constexpr ControlDesign kControls[] = {
    // name, kind, text or picture, {left, top, width, height} in twips, font, alignment, colour, buddy, spoken name
    {"Image1",   ControlKind::Picture, ":/marevo/emblem.jpg", { 120,  120, 1200, 1575}, {},    {},      {}, nullptr, club::kEmblem},
    {"Label1",   ControlKind::Label,   club::kAuthor,         {1440,  120, 3135,  255}, kBold, kLeft,   {}, nullptr, nullptr},
    {"Label2",   ControlKind::Label,   club::kName,           {1440,  600, 3255,  495}, kBold, kLeft,   {}, nullptr, nullptr},
    {"Label3",   ControlKind::Label,   club::kWeb,            {1440, 1320, 3495,  255}, {},    kLeft,   {}, nullptr, nullptr},
    {"Label4",   ControlKind::Label,   club::kAddress,        {1440, 1080, 2175,  255}, {},    kLeft,   {}, nullptr, nullptr},
    {"Label5",   ControlKind::Label,   club::kEmail,          {1440, 1560, 1935,  255}, {},    kLeft,   {}, nullptr, nullptr},
    {"Label6",   ControlKind::Label,   kInvitation.data(),    { 120, 1920, 4455,  495}, kBold, kCentre, {}, nullptr, nullptr},
    {"CmdZapri", ControlKind::Button,  "Zapri",               {3720, 1320,  855,  495}, {},    kCentre, {}, nullptr, nullptr},
};
// clang-format on

QPointer<FrmAvtor> loaded;

} // namespace

FrmAvtor::FrmAvtor() : LoadedWindow(independentToolWindowFlags()) {
    setObjectName(QStringLiteral("FrmAvtor"));
    // A tool window would not keep the application alive by itself; this one does.
    setAttribute(Qt::WA_QuitOnClose);
    setWindowTitle(QStringLiteral("O kalkulatorju"));
    applyWindowLook(this, toPixels(kClientArea).size());
    createControls();
    presentAsIndependentToolWindow(this);
}

void FrmAvtor::createControls() {
    const BuiltControls built = buildControls(this, kControls);
    connect(builtAs<QPushButton>(built, placeOf(kControls, "CmdZapri")), &QPushButton::clicked,
            this, &FrmAvtor::CmdZapri_Click);
}

FrmAvtor* FrmAvtor::open() {
    if (!loaded) {
        loaded = new FrmAvtor;
    }
    // A window manager may minimise the window whatever it is told, and with no
    // taskbar button this is the user's one way back to it.
    loaded->showNormal();
    loaded->raise();
    // A window manager need not activate a new tool window by itself; activated,
    // the window has its button in focus, so the keyboard can close it too.
    loaded->activateWindow();
    return loaded;
}

FrmAvtor* FrmAvtor::instance() {
    return loaded;
}

void FrmAvtor::CmdZapri_Click() {
    close();
}

} // namespace marevo

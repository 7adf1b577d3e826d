// The floor the calculator's start-up is measured against: a plain Qt Widgets
// window of the main window's client size, with as many labels, text boxes and
// buttons, the same captions and the same picture, at the same places, and
// nothing else: Qt's own font, palette and style.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRect>
#include <QWidget>

namespace {

struct Item {
    const char* text;
    QRect geometry; // in logical pixels, from the top-left corner of the client area
};

// A copy of the main window's control table (ui/main/frm_marevo.cpp), its twips converted to
// pixels as ui/common/twips.h does: the benchmark stays a plain Qt program that builds none of
// the calculator's code, so a change of that layout belongs here too.
// clang-format off
const Item kLabels[] = {
    {"Vnesi pritisk v jeklenki (bar):",        {  0,  48, 193, 25}},
    {"Odstotek kisika v jeklenki (%):",        {  8,  80, 185, 17}},
    {"Željen odstotek kisika v jeklenki (%):", { -8, 184, 201, 25}},
    {"ZAČETNO STANJE V JEKLENKI",              { 16,  16, 249, 25}},
    {"Končni pritisk v jeklenki (bar): ",      {-24, 216, 217, 33}},
    {"KONČNO STANJE V JEKLENKI",               { 40, 152, 225, 25}},
    {"V jeklenko dodaj marevo z ",             { 24, 272, 217, 25}},
    {"",                                       {232, 272,  57, 33}},
    {"% kisika!",                              {288, 272,  97, 25}},
    {"",                                       {  8, 312, 369, 25}},
};
const Item kPicture = {":/marevo/banner.jpg", {296, 8, 70, 36}};
const Item kTextBoxes[] = {
    {"1",   {200,  48, 65, 19}},
    {"21",  {200,  80, 65, 19}},
    {"21",  {200, 184, 65, 19}},
    {"200", {200, 216, 65, 19}},
};
const Item kButtons[] = {
    {"O kalkulatorju", {288, 200, 89, 49}},
    {"Izhod",          {288, 152, 89, 41}},
    {"Briši",          {288, 104, 89, 41}},
    {"Izračunaj",      {288,  56, 89, 41}},
};
// clang-format on

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Marevo: primerjalno okno"));
    window.setFixedSize(386, 342);
    for (const Item& item : kLabels) {
        (new QLabel(QString::fromUtf8(item.text), &window))->setGeometry(item.geometry);
    }
    auto* picture = new QLabel(&window);
    picture->setPixmap(QPixmap(QString::fromUtf8(kPicture.text)));
    picture->setGeometry(kPicture.geometry);
    for (const Item& item : kTextBoxes) {
        (new QLineEdit(QString::fromUtf8(item.text), &window))->setGeometry(item.geometry);
    }
    for (const Item& item : kButtons) {
        (new QPushButton(QString::fromUtf8(item.text), &window))->setGeometry(item.geometry);
    }
    window.show();
    return QApplication::exec();
}

#include "ui/common/message_box_and_beep.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace marevo {

namespace {

MessageBoxAndBeep* installed = nullptr;

} // namespace

void MessageBoxAndBeep::showMessage(QWidget* owner, const Message& message) {
    QMessageBox box(QMessageBox::Information, message.title, message.text, QMessageBox::Ok, owner);
    // The platform theme names standard buttons, each desktop in its own words (GNOME's, Xfce's
    // and MATE's "&OK", KDE Plasma's in the desktop's language); named here, the button reads
    // the same on every desktop.
    box.button(QMessageBox::Ok)->setText(QStringLiteral("V redu"));
    box.exec();
}

void MessageBoxAndBeep::beep() {
    QApplication::beep();
}

MessageBoxAndBeep& MessageBoxAndBeep::current() {
    static MessageBoxAndBeep real;
    return installed ? *installed : real;
}

void MessageBoxAndBeep::install(MessageBoxAndBeep* replacement) {
    installed = replacement;
}

} // namespace marevo

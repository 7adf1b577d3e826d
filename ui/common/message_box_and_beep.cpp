#include "ui/common/message_box_and_beep.h"

#include <QApplication>
#include <QMessageBox>

namespace marevo {

namespace {

MessageBoxAndBeep* installed = nullptr;

} // namespace

void MessageBoxAndBeep::showMessage(QWidget* owner, const Message& message) {
    QMessageBox box(QMessageBox::Information, message.title, message.text, QMessageBox::Ok, owner);
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

#include "ui/common/feedback.h"

#include <QApplication>
#include <QMessageBox>

namespace marevo {

namespace {

Feedback* installed = nullptr;

} // namespace

void Feedback::showMessage(QWidget* owner, const Message& message) {
    QMessageBox box(QMessageBox::Information, message.title, message.text, QMessageBox::Ok, owner);
    box.exec();
}

void Feedback::beep() {
    QApplication::beep();
}

Feedback& Feedback::current() {
    static Feedback real;
    return installed ? *installed : real;
}

void Feedback::install(Feedback* replacement) {
    installed = replacement;
}

} // namespace marevo

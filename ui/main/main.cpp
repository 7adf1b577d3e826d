#include "ui/main/application.h"
#include "ui/main/frm_marevo.h"

#include <QApplication>

// Qt ends the program when the last window closes, the About window included.
int main(int argc, char* argv[]) {
    marevo::choosePlatform();
    marevo::describeApplication();
    QApplication app(argc, argv);
    marevo::setUpApplication();
    (new marevo::FrmMarevo)->show();
    return QApplication::exec();
}

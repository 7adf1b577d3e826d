#include "ui/common/look.h"
#include "ui/main/application.h"
#include "ui/main/frm_marevo.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    marevo::describeApplication();
    QApplication app(argc, argv);
    marevo::translateQtTexts();
    // Every control starts in the windows' font, so none lays out its text twice.
    QApplication::setFont(marevo::designFont({}));
    // Ends when no window of the calculator is loaded any more, the About window included.
    QApplication::setQuitOnLastWindowClosed(false);
    (new marevo::FrmMarevo)->show();
    return QApplication::exec();
}

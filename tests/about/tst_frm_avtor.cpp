#include "main_window_fixture.h"
#include "reference_picture.h"
#include "ui/main/application.h"

#include <QAccessible>
#include <QPointer>
#include <QWindow>

using marevo::FrmAvtor;
using namespace marevo::testing;

namespace {

// Counts the beeps; a message box here would be a fault.
class BeepCounter : public InstalledMessageBoxAndBeep {
public:
    void showMessage(QWidget* /*owner*/, const marevo::Message& message) override {
        QFAIL(qPrintable(QStringLiteral("unexpected message: ") + message.text));
    }
    void beep() override { ++beeps; }

    int beeps = 0;
};

long long loadedAboutWindows() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::count_if(windows.begin(), windows.end(),
                         [](const QWidget* w) { return qobject_cast<const FrmAvtor*>(w); });
}

// Opens the About window as the main window does and waits until it is active.
FrmAvtor* openAbout() {
    FrmAvtor* about = FrmAvtor::open();
    return QTest::qWaitForWindowActive(about) ? about : nullptr;
}

// A newly opened window: its look and the focus on its button.
void verifyAsOpened(FrmAvtor* about) {
    QCOMPARE(about->windowType(), Qt::Tool);
    QCOMPARE(about->minimumSize(), QSize(312, 159));
    QCOMPARE(about->maximumSize(), QSize(312, 159));
    QCOMPARE(QApplication::focusWidget(), about->findChild<QPushButton*>("CmdZapri"));
    // Alone, it keeps the program running.
    QCOMPARE(windowsKeepingTheProgramRunning(), 1);
    // A screen reader hears what the emblem shows, in the words of the club that fills it in.
    QVERIFY(!QAccessible::queryAccessibleInterface(about->findChild<QLabel*>("Image1"))
                 ->text(QAccessible::Name)
                 .isEmpty());
    const QString mismatch = compareWithReference(about, QStringLiteral("frm_avtor"));
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

} // namespace

class TestFrmAvtor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void looksAsDesigned();
    void aboutButtonKeepsOneWindow();
    void closingUnloads_data();
    void closingUnloads();
    void inputThatDoesNothing_data();
    void inputThatDoesNothing();
};

void TestFrmAvtor::initTestCase() {
    marevo::setUpApplication();
    useRepeatableRendering();
}

void TestFrmAvtor::cleanup() {
    unloadWindows();
    QCOMPARE(windowsKeepingTheProgramRunning(), 0);
}

void TestFrmAvtor::looksAsDesigned() {
    FrmAvtor* about = openAbout();
    QVERIFY(about);
    verifyAsOpened(about);
    if (!kPixelsCompared) {
        QSKIP("the picture was compared by its size alone");
    }
}

void TestFrmAvtor::aboutButtonKeepsOneWindow() {
    BeepCounter counter;
    auto* main = new marevo::FrmMarevo;
    main->show();
    QVERIFY(QTest::qWaitForWindowActive(main));

    QTest::mouseClick(main->findChild<QPushButton*>("CmdAvtor"), Qt::LeftButton);
    const QPointer<FrmAvtor> about = FrmAvtor::instance();
    QVERIFY(about);
    QVERIFY(QTest::qWaitForWindowActive(about));
    about->move(about->pos() + QPoint(40, 30));
    const QPoint position = about->pos();

    // What is checked is the program bringing its About window back to the front.
    if (!windowsCanBeSwitched()) {
        QSKIP("this platform activates a window only as it is first shown");
    }
    QVERIFY(reactivate(main));
    about->showMinimized();
    QTest::mouseClick(main->findChild<QPushButton*>("CmdAvtor"), Qt::LeftButton);

    QCOMPARE(counter.beeps, 2);
    QCOMPARE(FrmAvtor::instance(), about.data());
    QCOMPARE(loadedAboutWindows(), 1);
    QTRY_COMPARE(QApplication::activeWindow(), about.data());
    QCOMPARE(about->pos(), position);
    QVERIFY(!about->isMinimized());
    QVERIFY(main->isVisible());
}

void TestFrmAvtor::closingUnloads_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Zapri clicked") << "click";
    QTest::newRow("space bar on Zapri") << "space";
    QTest::newRow("close request from the window system") << "request";
}

void TestFrmAvtor::closingUnloads() {
    QFETCH(QString, how);
    const QPointer<FrmAvtor> first = openAbout();
    QVERIFY(first);
    first->move(first->pos() + QPoint(50, 20));
    const QPoint moved = first->pos();

    if (how == QLatin1String("click")) {
        QTest::mouseClick(first->findChild<QPushButton*>("CmdZapri"), Qt::LeftButton);
    } else if (how == QLatin1String("space")) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    } else {
        first->windowHandle()->close();
    }
    QTRY_VERIFY(first.isNull());
    QVERIFY(FrmAvtor::instance() == nullptr);
    QCOMPARE(windowsKeepingTheProgramRunning(), 0);

    FrmAvtor* second = openAbout();
    QVERIFY(second);
    QVERIFY(second->pos() != moved);
    verifyAsOpened(second);
}

void TestFrmAvtor::inputThatDoesNothing_data() {
    QTest::addColumn<int>("key");       // pressed on the focused button, or 0
    QTest::addColumn<QString>("label"); // clicked, or empty
    QTest::newRow("Tab") << int(Qt::Key_Tab) << "";
    QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << "";
    QTest::newRow("Esc") << int(Qt::Key_Escape) << "";
    QTest::newRow("Enter") << int(Qt::Key_Return) << "";
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << "";
    for (const char* name :
         {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Image1"}) {
        QTest::newRow(name) << 0 << name;
    }
}

void TestFrmAvtor::inputThatDoesNothing() {
    QFETCH(int, key);
    QFETCH(QString, label);
    const QPointer<FrmAvtor> about = openAbout();
    QVERIFY(about);

    if (key != 0) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
    } else {
        auto* target = about->findChild<QLabel*>(label);
        QVERIFY(target);
        // A double click too: it would select a word of selectable text.
        QTest::mouseDClick(target, Qt::LeftButton, {}, QPoint(12, 6));
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(12, 6));
    }
    QTest::qWait(0);

    QVERIFY(about);
    QVERIFY(about->isVisible());
    QCOMPARE(QApplication::focusWidget(), about->findChild<QPushButton*>("CmdZapri"));
    for (const QLabel* each : about->findChildren<QLabel*>()) {
        QVERIFY2(!each->hasSelectedText(), qPrintable(each->objectName()));
    }
}

QTEST_MAIN(TestFrmAvtor)
#include "tst_frm_avtor.moc"

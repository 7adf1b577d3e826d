#include "main_window_fixture.h"
#include "ui/main/application.h"

#include <QClipboard>
#include <QPointer>
#include <QWindow>

using marevo::FrmAvtor;
using marevo::FrmMarevo;
using namespace marevo::testing;

namespace {

QWidget* focus() {
    return QApplication::focusWidget();
}

// One keystroke to whatever has the focus, as the user's keyboard would send it.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = focus();
    QVERIFY2(target, "nothing has the keyboard focus");
    QTest::keyClick(target, key, modifiers);
}

void pressRepeatedly(Qt::Key key, int times) {
    for (int i = 0; i < times; ++i) {
        press(key);
    }
}

void type(const QString& text) {
    QWidget* target = focus();
    QVERIFY2(target, "nothing has the keyboard focus");
    QTest::keyClicks(target, text);
}

// Moves the focus forward with Tab until it reaches the target; false when a
// whole round of the window's controls passes without reaching it.
bool tabTo(const QWidget* target) {
    for (int i = 0; i <= 8 && focus() != nullptr; ++i) {
        if (focus() == target) {
            return true;
        }
        QTest::keyClick(focus(), Qt::Key_Tab);
    }
    return false;
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void wholeSessionByKeystrokes();
    void strangePastedText_data();
    void strangePastedText();
    void repeatedRoundsLeaveNothingBehind();

private:
    QPointer<FrmMarevo> window_;
};

// As the program is set up, with Qt's own texts in Slovenian.
void TestKeyboard::initTestCase() {
    marevo::setUpApplication();
}

void TestKeyboard::init() {
    window_ = openMainWindow();
    QVERIFY(becomesActive(window_));
}

void TestKeyboard::cleanup() {
    unloadWindows();
}

void TestKeyboard::wholeSessionByKeystrokes() {
    FrmMarevo& w = *window_;
    QCOMPARE(focus(), w.TxTZpritisk);

    // Typing replaces the selected default; Tab selects the next box's text.
    type(QStringLiteral("50"));
    pressRepeatedly(Qt::Key_Tab, 2);
    QCOMPARE(focus(), w.TxTKkisik);
    type(QStringLiteral("45"));
    pressRepeatedly(Qt::Key_Tab, 5);
    QCOMPARE(focus(), w.findChild<QPushButton*>("CmdIzracun"));

    // Over the limit: the real "POZOR!" box, its "V redu" button pressed with Space.
    auto answered = answerNextBox(this, Qt::Key_Space);
    press(Qt::Key_Space);
    QCOMPARE(answered->title, QStringLiteral("POZOR!"));
    QCOMPARE(answered->text,
             QStringLiteral("S predmešalnikom polniš lahko mešanice le do 40% kisika!"));
    QCOMPARE(answered->focus, QStringLiteral("V redu"));
    QVERIFY(answered->dismissed);
    QCOMPARE(boxTexts(w), (QStringList{"50", "21", "45", "200"}));
    QCOMPARE(w.Lblprocent->text(), QStringLiteral("53.0"));
    QCOMPARE(w.LblPozor->text(), kWarning);
    QVERIFY(reactivate(&w));
    QCOMPARE(focus(), w.findChild<QPushButton*>("CmdIzracun"));

    // Back with Shift+Tab, a typing error in the last box: the real input error
    // box, dismissed with Return, puts the keyboard back into that box.
    pressRepeatedly(Qt::Key_Backtab, 4);
    QCOMPARE(focus(), w.TxtKpritisk);
    type(QStringLiteral("2OO"));
    pressRepeatedly(Qt::Key_Tab, 4);
    QCOMPARE(focus(), w.findChild<QPushButton*>("CmdIzracun"));
    answered = answerNextBox(this, Qt::Key_Return);
    press(Qt::Key_Space);
    QCOMPARE(answered->title, QStringLiteral("Opozorilo"));
    QCOMPARE(answered->text, QStringLiteral("Končni pritisk v jeklenki mora biti število!"));
    QVERIFY(answered->dismissed);
    QVERIFY(reactivate(&w));
    QCOMPARE(focus(), w.TxtKpritisk);
    QCOMPARE(w.TxtKpritisk->selectedText(), QStringLiteral("2OO"));
    QCOMPARE(w.Lblprocent->text(), QStringLiteral("53.0"));
    type(QStringLiteral("300"));
    QCOMPARE(w.TxtKpritisk->text(), QStringLiteral("300"));

    // Clear.
    pressRepeatedly(Qt::Key_Tab, 3);
    QCOMPARE(focus(), w.findChild<QPushButton*>("CmdBrisi"));
    press(Qt::Key_Space);
    QCOMPARE(boxTexts(w), (QStringList{"1", "21", "21", "200"}));
    QVERIFY(w.Lblprocent->text().isEmpty());
    QVERIFY(w.LblPozor->text().isEmpty());
    QCOMPARE(focus(), w.TxTZpritisk);
    QCOMPARE(w.TxTZpritisk->selectedText(), QStringLiteral("1"));

    // The About window opens active with "Zapri" in focus, and Space closes it.
    pressRepeatedly(Qt::Key_Tab, 4);
    QCOMPARE(focus(), w.findChild<QPushButton*>("CmdAvtor"));
    press(Qt::Key_Space);
    const QPointer<FrmAvtor> about = FrmAvtor::instance();
    QVERIFY(about);
    QVERIFY(becomesActive(about));
    QCOMPARE(focus(), about->findChild<QPushButton*>("CmdZapri"));
    press(Qt::Key_Tab);
    QCOMPARE(focus(), about->findChild<QPushButton*>("CmdZapri"));
    press(Qt::Key_Space);
    QTRY_VERIFY(about.isNull());

    // Back in the main window, where the focus was, out through "Izhod".
    QVERIFY(reactivate(&w));
    QCOMPARE(focus(), w.findChild<QPushButton*>("CmdAvtor"));
    press(Qt::Key_Tab);
    QCOMPARE(focus(), w.findChild<QPushButton*>("CmdIzhod"));
    press(Qt::Key_Space);
    QTRY_VERIFY(window_.isNull());
    QCOMPARE(windowsKeepingTheProgramRunning(), 0);
}

void TestKeyboard::strangePastedText_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("events");

    // The window at a message or beep: the focus and its selected text, no result, no warning.
    const auto shown = [](const QString& focus, const QString& selected) {
        return QStringLiteral(" [focus %1 '%2', result '', warning '']").arg(focus, selected);
    };
    const int box = 1;
    const QString name = QStringLiteral("TxTZkisik");
    const QString notANumber =
        QStringLiteral("Opozorilo: Odstotek kisika v jeklenki mora biti število!");
    const QString megabyte = QStringLiteral("21,5 bar; ").repeated(1 << 17).left(1 << 20);
    const QString controls = QStringLiteral("\x01\x02\a\b\t\n\v\f\r\x1b[2J\x7f") + QChar(0) +
                             QChar(0x85) + QChar(0x2028) + QChar(0xFEFF);
    for (const auto& [kind, text] :
         {std::pair{"a megabyte of text", megabyte}, std::pair{"control characters", controls}}) {
        QTest::newRow(kind) << box << text
                            << QStringList{notANumber + shown("CmdIzracun", {}),
                                           "beep" + shown(name, text)};
    }
}

// Pasted into one box through the clipboard and calculated: that box alone is
// reported, its whole text selected; nothing else changes, and afterwards the
// window still answers the keyboard.
void TestKeyboard::strangePastedText() {
    QFETCH(int, box);
    QFETCH(QString, text);
    QFETCH(QStringList, events);

    FrmMarevo& w = *window_;
    MessageAndBeepRecorder recorder(&w);
    QLineEdit* pastedInto = boxes(w)[box];
    QStringList expectedTexts = boxTexts(w);
    expectedTexts[box] = text;

    QApplication::clipboard()->setText(text);
    QVERIFY(tabTo(pastedInto));
    press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(boxTexts(w), expectedTexts);

    QVERIFY(tabTo(w.findChild<QPushButton*>("CmdIzracun")));
    press(Qt::Key_Space);
    QCOMPARE(recorder.events, events);
    QCOMPARE(focus(), pastedInto);
    QVERIFY(pastedInto->selectedText() == text);
    QCOMPARE(boxTexts(w), expectedTexts);
    QVERIFY(w.Lblprocent->text().isEmpty());
    QVERIFY(w.LblPozor->text().isEmpty());

    // Still responsive: typing the default back over the pasted text calculates again.
    QVERIFY(tabTo(pastedInto));
    type(QStringList{"1", "21", "21", "200"}[box]);
    QVERIFY(tabTo(w.findChild<QPushButton*>("CmdIzracun")));
    press(Qt::Key_Space);
    QCOMPARE(recorder.events, events);
    QCOMPARE(w.Lblprocent->text(), QStringLiteral("21.0"));
}

// Counted, not timed: whatever the loop created and did not destroy would show
// up as widgets, windows or objects.
void TestKeyboard::repeatedRoundsLeaveNothingBehind() {
    FrmMarevo& w = *window_;
    MessageAndBeepRecorder recorder(&w);
    const QList<QStringList> inputs{
        {"50", "21", "32", "200"},  // a result
        {"1", "21", "40", "200"},   // over the limit
        {"1", "", "21", "200"},     // an input error
        {"200", "21", "32", "200"}, // no result possible
    };
    const auto round = [&](int i) {
        fillBoxes(w, inputs[i % inputs.size()]);
        w.CmdIzracun_Click();
        w.CmdBrisi_Click();
        w.CmdAvtor_Click();
        FrmAvtor::instance()->CmdZapri_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // Now and then the rest of what the rounds posted: paints, layouts, and
        // the offscreen platform's window activations.
        if (i % 10 == 0) {
            QCoreApplication::processEvents();
        }
        recorder.events.clear();
    };
    const auto census = [&w] {
        return QStringList{
            QStringLiteral("%1 widgets").arg(QApplication::allWidgets().size()),
            QStringLiteral("%1 top-level widgets").arg(QApplication::topLevelWidgets().size()),
            QStringLiteral("%1 windows").arg(QGuiApplication::allWindows().size()),
            QStringLiteral("%1 objects in the main window").arg(w.findChildren<QObject*>().size()),
            QStringLiteral("%1 objects of the application")
                .arg(qApp->findChildren<QObject*>().size()),
        };
    };

    // The first rounds fill what Qt creates once and keeps.
    for (int i = 0; i < static_cast<int>(inputs.size()); ++i) {
        round(i);
    }
    QCoreApplication::processEvents();
    const QStringList before = census();

    constexpr int kRounds = 40;
    for (int i = 0; i < kRounds; ++i) {
        round(i);
    }
    QCoreApplication::processEvents();
    QVERIFY(FrmAvtor::instance() == nullptr);
    QCOMPARE(windowsKeepingTheProgramRunning(), 1);
    QCOMPARE(census(), before);
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"

#include "main_window_fixture.h"
#include "reference_picture.h"
#include "ui/about/club_details.h"
#include "ui/main/application.h"

#include <QAccessible>
#include <QMenu>
#include <QPointer>
#include <QTranslator>

#include <memory>

using marevo::FrmMarevo;
using namespace marevo::testing;

namespace {

// Each box's whole text is selected, showing only in the box that has the focus.
void expectWholeTextSelectedOnFocus(const FrmMarevo& w) {
    for (QLineEdit* box : boxes(w)) {
        QCOMPARE(box->hasSelectedText(), box->hasFocus());
    }
    for (QLineEdit* box : boxes(w)) {
        box->setFocus(Qt::OtherFocusReason);
        QCOMPARE(box->selectedText(), box->text());
    }
    w.TxTZpritisk->setFocus(Qt::OtherFocusReason);
}

// Whether every caption and panel border of a window is drawn in the ink given: the darkest
// colour inside each label's box, within the panel it lies on, and along each panel's top.
QString drawnInOtherInk(QWidget* window, const QColor& ink) {
    const QImage shown = window->grab().toImage();
    const QList<QFrame*> panels = window->findChildren<QFrame*>(QRegularExpression("^Shape"));
    for (const QFrame* drawn :
         window->findChildren<QFrame*>(QRegularExpression("^(Label|Shape)"))) {
        QRect part = drawn->geometry() & window->rect();
        for (const QFrame* panel : panels) {
            if (panel == drawn) {
                part.setHeight(1); // the border along the top, with nothing else on it
            } else if (panel->geometry().contains(part.center())) {
                part &= panel->geometry().adjusted(1, 1, -1, -1); // inside its border
            }
        }
        QColor darkest = Qt::white;
        for (int y = part.top(); y <= part.bottom(); ++y) {
            for (int x = part.left(); x <= part.right(); ++x) {
                const QColor colour = shown.pixelColor(x, y);
                if (qGray(colour.rgb()) < qGray(darkest.rgb())) {
                    darkest = colour;
                }
            }
        }
        if (qAbs(darkest.red() - ink.red()) + qAbs(darkest.green() - ink.green()) +
                qAbs(darkest.blue() - ink.blue()) >
            24) {
            return window->objectName() + u'.' + drawn->objectName() +
                   QStringLiteral(" is drawn in ") + darkest.name();
        }
    }
    return {};
}

} // namespace

class TestFrmMarevo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void startsWithDefaultsAndFocusInFirstBox();
    void fixedTextsAsDesigned_data();
    void fixedTextsAsDesigned();
    void tabCycle();
    void calculate_data();
    void calculate();
    void calculatesInTheUsersLocale();
    void clearRestoresDefaults();
    void enterAndEscPressNothing();
    void exitUnloadsOnlyThisWindow();
    void realMessageBox();
    void screenReaderHearsCaptionsAndResult();
    void looksAsDesigned_data();
    void looksAsDesigned();
    void everyQtTextIsTranslated();

private:
    QPointer<FrmMarevo> window_;
};

void TestFrmMarevo::initTestCase() {
    marevo::setUpApplication();
    useRepeatableRendering();
}

void TestFrmMarevo::init() {
    window_ = openMainWindow();
    QVERIFY(becomesActive(window_));
}

void TestFrmMarevo::cleanup() {
    unloadWindows();
}

void TestFrmMarevo::startsWithDefaultsAndFocusInFirstBox() {
    FrmMarevo& w = *window_;
    QCOMPARE(boxTexts(w), (QStringList{"1", "21", "21", "200"}));
    QCOMPARE(QApplication::focusWidget(), w.TxTZpritisk);
    expectWholeTextSelectedOnFocus(w);
    QVERIFY(w.Lblprocent->text().isEmpty());
    QVERIFY(w.LblPozor->text().isEmpty());
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QCOMPARE(w.size(), QSize(386, 342));
    const Qt::WindowFlags flags = w.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    for (const int size : {16, 32}) {
        const QImage shown = w.windowIcon().pixmap(size).toImage();
        const QImage drawn(
            QStringLiteral(QT_TESTCASE_SOURCEDIR "/../resources/icon-%1.png").arg(size));
        QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32),
                 drawn.convertToFormat(QImage::Format_ARGB32));
    }
}

// Written out here a second time, as designed, letter by letter: a reference picture lets a
// missing accent pass as antialiasing.
void TestFrmMarevo::fixedTextsAsDesigned_data() {
    QTest::addColumn<bool>("about");
    QTest::addColumn<QString>("control"); // empty: the window's title
    QTest::addColumn<QString>("text");

    const auto main = [](const char* control, const char* text) {
        QTest::addRow("FrmMarevo %s", *control != 0 ? control : "title")
            << false << control << QString::fromUtf8(text);
    };
    main("", "Kalkulator za izračun mešanice Marevo");
    main("Label1", "Vnesi pritisk v jeklenki (bar):");
    main("Label2", "Odstotek kisika v jeklenki (%):");
    main("Label3", "Željen odstotek kisika v jeklenki (%):");
    main("Label4", "ZAČETNO STANJE V JEKLENKI");
    main("Label5", "Končni pritisk v jeklenki (bar): ");
    main("Label6", "KONČNO STANJE V JEKLENKI");
    main("Label7", "V jeklenko dodaj marevo z ");
    main("Label8", "% kisika!");
    main("CmdAvtor", "O kalkulatorju");
    main("CmdIzhod", "Izhod");
    main("CmdBrisi", "Briši");
    main("CmdIzracun", "Izračunaj");

    const auto about = [](const char* control, const QString& text) {
        QTest::addRow("FrmAvtor %s", *control != 0 ? control : "title") << true << control << text;
    };
    about("", QStringLiteral("O kalkulatorju"));
    about("CmdZapri", QStringLiteral("Zapri"));
    // The fixed sentence, then the address the club fills in.
    about("Label6", QStringLiteral("Vprašanja, pripombe in predloge pošlji avtorju na naslov: ") +
                        QString::fromUtf8(marevo::club::kAuthorEmail));
}

void TestFrmMarevo::fixedTextsAsDesigned() {
    QFETCH(bool, about);
    QFETCH(QString, control);
    QFETCH(QString, text);

    QWidget* window = about ? static_cast<QWidget*>(marevo::FrmAvtor::open()) : window_.data();
    if (control.isEmpty()) {
        QCOMPARE(window->windowTitle(), text);
        return;
    }
    const auto* shown = window->findChild<QWidget*>(control);
    QVERIFY(shown);
    QCOMPARE(shown->property("text").toString(), text);
}

void TestFrmMarevo::tabCycle() {
    const QStringList forward{"TxTZkisik", "TxTKkisik", "TxtKpritisk", "CmdAvtor",
                              "CmdIzhod",  "CmdBrisi",  "CmdIzracun",  "TxTZpritisk"};
    const QStringList backward{"CmdIzracun",  "CmdBrisi",  "CmdIzhod",  "CmdAvtor",
                               "TxtKpritisk", "TxTKkisik", "TxTZkisik", "TxTZpritisk"};
    for (const auto& [key, expected] :
         {std::pair{Qt::Key_Tab, forward}, std::pair{Qt::Key_Backtab, backward}}) {
        QStringList visited;
        for (int i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), key);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }
}

void TestFrmMarevo::calculate_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("focus");

    const QStringList defaults{"1", "21", "21", "200"};
    QTest::newRow("defaults") << QStringList{} << defaults << QStringList{} << "21.0"
                              << ""
                              << "CmdIzracun";
    QTest::newRow("worked example")
        << defaults << QStringList{"50", "21", "32", "200"} << QStringList{} << "35.7"
        << ""
        << "CmdIzracun";
    QTest::newRow("over the limit: warning, box, then the number")
        << defaults << QStringList{"1", "21", "40", "200"}
        << QStringList{"POZOR!: S predmešalnikom polniš lahko mešanice le do 40% kisika! "
                       "[focus CmdIzracun '', result '21.0', warning '" +
                       kWarning + "']"}
        << "40.1" << kWarning << "CmdIzracun";
    QTest::newRow("at or under the limit empties the warning")
        << QStringList{"1", "21", "40", "200"} << QStringList{"0", "21", "40", "200"}
        << QStringList{} << "40.0"
        << ""
        << "CmdIzracun";
    QTest::newRow("empty box: message, then focus, then beep")
        << defaults << QStringList{"1", "", "21", "200"}
        << QStringList{"Opozorilo: Odstotek kisika v jeklenki mora biti število! "
                       "[focus CmdIzracun '', result '21.0', warning '']",
                       "beep [focus TxTZkisik '', result '21.0', warning '']"}
        << "21.0"
        << ""
        << "TxTZkisik";
    QTest::newRow("several bad boxes: the first is reported, its text selected")
        << QStringList{"1", "21", "40", "200"} << QStringList{"1", "21", "abc", "x"}
        << QStringList{"Opozorilo: Odstotek kisika v jeklenki mora biti število število! "
                       "[focus CmdIzracun '', result '40.1', warning '" +
                           kWarning + "']",
                       "beep [focus TxTKkisik 'abc', result '40.1', warning '" + kWarning + "']"}
        << "40.1" << kWarning << "TxTKkisik";
    QTest::newRow("equal pressures: a message and nothing else")
        << defaults << QStringList{"200", "21", "32", "200"}
        << QStringList{"Opozorilo: Izračun ni mogoč: začetni in končni pritisk sta enaka! "
                       "[focus CmdIzracun '', result '21.0', warning '']"}
        << "21.0"
        << ""
        << "CmdIzracun";
    QTest::newRow("too large: a message and nothing else")
        << defaults << QStringList{"1", "21", "1e39", "200"}
        << QStringList{"Opozorilo: Izračun ni mogoč: vnesene vrednosti so prevelike! "
                       "[focus CmdIzracun '', result '21.0', warning '']"}
        << "21.0"
        << ""
        << "CmdIzracun";
}

void TestFrmMarevo::calculate() {
    QFETCH(QStringList, before);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, events);
    QFETCH(QString, result);
    QFETCH(QString, warning);
    QFETCH(QString, focus);

    FrmMarevo& w = *window_;
    MessageAndBeepRecorder recorder(&w);
    if (!before.isEmpty()) {
        fillBoxes(w, before);
        w.CmdIzracun_Click();
        recorder.events.clear();
    }
    fillBoxes(w, texts);
    QTest::mouseClick(w.findChild<QPushButton*>("CmdIzracun"), Qt::LeftButton);

    QCOMPARE(recorder.events, events);
    QCOMPARE(w.Lblprocent->text(), result);
    QCOMPARE(w.LblPozor->text(), warning);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(boxTexts(w), texts);
}

void TestFrmMarevo::calculatesInTheUsersLocale() {
    QLocale::setDefault(QLocale(QLocale::Slovenian, QLocale::Slovenia));
    FrmMarevo& w = *window_;
    MessageAndBeepRecorder recorder(&w);

    fillBoxes(w, {"50", "21", "32", "200"});
    w.CmdIzracun_Click();
    QCOMPARE(w.Lblprocent->text(), QStringLiteral("35,7"));

    // A dot groups thousands here: "21.5" is no number, "1.000,5" is.
    fillBoxes(w, {"1.000,5", "20,9", "21.5", "2.000"});
    w.CmdIzracun_Click();
    QCOMPARE(recorder.events.size(), 2);
    QCOMPARE(w.focusWidget(), w.TxTKkisik);
    fillBoxes(w, {"1.000,5", "20,9", "36", "2.000"});
    w.CmdIzracun_Click();
    QCOMPARE(w.Lblprocent->text(), QStringLiteral("51,1"));
}

void TestFrmMarevo::clearRestoresDefaults() {
    FrmMarevo& w = *window_;
    MessageAndBeepRecorder recorder(&w);
    fillBoxes(w, {"1", "21", "40", "200"});
    w.CmdIzracun_Click();
    fillBoxes(w, {"5", "", "x", "7"});
    QTest::mouseClick(w.findChild<QPushButton*>("CmdBrisi"), Qt::LeftButton);

    QCOMPARE(boxTexts(w), (QStringList{"1", "21", "21", "200"}));
    QCOMPARE(QApplication::focusWidget(), w.TxTZpritisk);
    expectWholeTextSelectedOnFocus(w);
    QVERIFY(w.Lblprocent->text().isEmpty());
    QVERIFY(w.LblPozor->text().isEmpty());
    QCOMPARE(recorder.events.size(), 1); // the warning of the calculation only
}

void TestFrmMarevo::enterAndEscPressNothing() {
    FrmMarevo& w = *window_;
    MessageAndBeepRecorder recorder(&w);
    fillBoxes(w, {"1", "21", "40", "x"});
    for (QWidget* control : w.findChildren<QWidget*>()) {
        if (control->focusPolicy() == Qt::NoFocus) {
            continue;
        }
        control->setFocus();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(control, key);
        }
    }
    QVERIFY(w.isVisible());
    QVERIFY(recorder.events.isEmpty());
    QVERIFY(w.Lblprocent->text().isEmpty());
    QVERIFY(marevo::FrmAvtor::instance() == nullptr);
}

void TestFrmMarevo::exitUnloadsOnlyThisWindow() {
    FrmMarevo& w = *window_;
    MessageAndBeepRecorder recorder(&w);
    w.CmdAvtor_Click();
    const QPointer<marevo::FrmAvtor> about = marevo::FrmAvtor::instance();
    QTest::mouseClick(w.findChild<QPushButton*>("CmdIzhod"), Qt::LeftButton);
    QTRY_VERIFY(window_.isNull());
    QVERIFY(!about.isNull());
    QVERIFY(about->isVisible());
}

void TestFrmMarevo::realMessageBox() {
    FrmMarevo& w = *window_;
    w.TxTZkisik->clear();
    const auto answered = answerNextBox(this, Qt::Key_Return);
    w.CmdIzracun_Click();
    QVERIFY(answered->dismissed);
    QCOMPARE(answered->owner, &w);
    QCOMPARE(answered->title, QStringLiteral("Opozorilo"));
    QCOMPARE(answered->text, QStringLiteral("Odstotek kisika v jeklenki mora biti število!"));
    QCOMPARE(answered->icon, QMessageBox::Information);
    QCOMPARE(answered->buttons, QMessageBox::Ok);
    QCOMPARE(answered->focus, QStringLiteral("V redu")); // the OK button, in Slovenian
    QVERIFY(answered->modal);
    QCOMPARE(w.focusWidget(), w.TxTZkisik);
}

void TestFrmMarevo::screenReaderHearsCaptionsAndResult() {
    FrmMarevo& w = *window_;
    MessageAndBeepRecorder recorder(&w);
    const auto heard = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    QCOMPARE(heard(w.TxTZpritisk), QStringLiteral("Vnesi pritisk v jeklenki (bar):"));
    QCOMPARE(heard(w.TxTZkisik), QStringLiteral("Odstotek kisika v jeklenki (%):"));
    QCOMPARE(heard(w.TxTKkisik), QStringLiteral("Željen odstotek kisika v jeklenki (%):"));
    QCOMPARE(heard(w.TxtKpritisk).trimmed(), QStringLiteral("Končni pritisk v jeklenki (bar):"));
    QCOMPARE(heard(w.findChild<QPushButton*>("CmdIzracun")), QStringLiteral("Izračunaj"));

    fillBoxes(w, {"1", "21", "40", "200"});
    w.CmdIzracun_Click();
    QCOMPARE(heard(w.Lblprocent), QStringLiteral("V jeklenko dodaj marevo z 40.1 % kisika!"));
    w.CmdBrisi_Click();
    QVERIFY(heard(w.Lblprocent).isEmpty());
}

void TestFrmMarevo::looksAsDesigned_data() {
    QTest::addColumn<QPalette>("scheme");
    QTest::addColumn<QColor>("ink"); // of the captions and the panels' borders
    const QPalette light = QApplication::palette();
    QTest::newRow("light scheme") << light << QColor(Qt::black);
    // Breeze Dark's colours, as KDE's platform theme gives them; a dark GTK theme is alike.
    const QColor text(239, 240, 241);
    QPalette dark(text, QColor(49, 54, 59), QColor(70, 76, 82), QColor(20, 22, 24),
                  QColor(40, 44, 48), text, Qt::white, QColor(35, 38, 41), QColor(42, 46, 50));
    dark.setColor(QPalette::ButtonText, text);
    QTest::newRow("dark scheme") << dark << QColor(Qt::black);
    QPalette darkBlueText = light;
    darkBlueText.setColor(QPalette::ButtonText, QColor(0, 0, 128));
    darkBlueText.setColor(QPalette::WindowText, QColor(0, 0, 128));
    QTest::newRow("light scheme, dark-blue text") << darkBlueText << QColor(0, 0, 128);
}

// The fills stay light whatever the scheme; the scheme's text colour shows on them where it
// reads, and black where it would vanish. Boxes and buttons follow the scheme.
void TestFrmMarevo::looksAsDesigned() {
    QFETCH(QPalette, scheme);
    QFETCH(QColor, ink);
    const bool schemeChanged = scheme != QApplication::palette();
    const auto restore =
        qScopeGuard([light = QApplication::palette()] { QApplication::setPalette(light); });
    QWidgetList followingTheScheme;
    if (schemeChanged) {
        QApplication::setPalette(scheme);
        unloadWindows();
        window_ = openMainWindow();
        QVERIFY(becomesActive(window_));
        for (QWidget* control : window_->findChildren<QWidget*>()) {
            if (control->focusPolicy() != Qt::NoFocus) {
                followingTheScheme << control;
            }
        }
    }
    FrmMarevo& w = *window_;
    MessageAndBeepRecorder recorder(&w);
    fillBoxes(w, {"1", "21", "40", "200"});
    w.CmdIzracun_Click();
    w.TxTZpritisk->setFocus();
    w.TxTZpritisk->selectAll();

    // Active, then behind the About window, where it is drawn in the scheme's inactive colours.
    for (const bool behindAbout : {false, true}) {
        if (behindAbout) {
            if (!schemeChanged) {
                break;
            }
            QVERIFY(QTest::qWaitForWindowActive(marevo::FrmAvtor::open()));
        }
        if (ink == Qt::black) {
            const QString mismatch =
                compareWithReference(&w, QStringLiteral("frm_marevo"), 1, followingTheScheme);
            QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        } else {
            QWidgetList windows{&w};
            if (behindAbout) {
                windows << marevo::FrmAvtor::instance();
            }
            for (QWidget* window : windows) {
                const QString otherInk = drawnInOtherInk(window, ink);
                QVERIFY2(otherInk.isEmpty(), qPrintable(otherInk));
            }
        }
    }
    if (schemeChanged) {
        return;
    }

    // Where Qt scales a window on a high-density screen, it keeps its look.
    const QString scaledMismatch = compareWithReference(&w, QStringLiteral("frm_marevo"), 2);
    QVERIFY2(scaledMismatch.isEmpty(), qPrintable(scaledMismatch));
    if (!kPixelsCompared) {
        QSKIP("the pictures were compared by their sizes alone");
    }
}

// Qt's own texts in the boxes' menu, each in Slovenian: one missing from the catalogue, or
// changed in a newer Qt, would show in English.
void TestFrmMarevo::everyQtTextIsTranslated() {
    const auto entries = [this] {
        const std::unique_ptr<QMenu> menu(window_->TxTZpritisk->createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator()) {
                texts << action->text().section(u'\t', 0, 0); // without the shortcut
            }
        }
        return texts;
    };
    const QStringList translated = entries();
    auto* translator = qApp->findChild<QTranslator*>();
    QVERIFY(translator != nullptr);
    QCoreApplication::removeTranslator(translator);
    const QStringList english = entries();
    QCoreApplication::installTranslator(translator);

    QCOMPARE(translated.size(), english.size());
    for (qsizetype i = 0; i < english.size(); ++i) {
        QVERIFY2(translated[i] != english[i], qPrintable(english[i]));
    }
}

QTEST_MAIN(TestFrmMarevo)
#include "tst_frm_marevo.moc"

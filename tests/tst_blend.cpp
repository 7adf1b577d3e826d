#include "calc/blend.h"
#include "calc/number.h"

#include <QtTest>

#include <cfloat>

using marevo::ArithmeticFailure;
using marevo::BlendInput;
using marevo::BlendOutcome;
using marevo::BlendResult;
using marevo::InputError;
using marevo::TypedNumber;

Q_DECLARE_METATYPE(BlendInput)
Q_DECLARE_METATYPE(ArithmeticFailure::Reason)
Q_DECLARE_METATYPE(TypedNumber::Kind)

namespace {

struct NamedLocale {
    const char* name;
    QLocale locale;
};

const QList<NamedLocale>& locales() {
    static const QList<NamedLocale> all = [] {
        QList<NamedLocale> named{
            {"en", QLocale(QLocale::English, QLocale::UnitedStates)},
            {"sl", QLocale(QLocale::Slovenian, QLocale::Slovenia)},
            {"de", QLocale(QLocale::German, QLocale::Germany)},
            {"C", QLocale::c()},
        };
        // As the user's regional settings give it, in the run that asks for them: Windows has
        // its own signs for each region.
        if (qEnvironmentVariableIsSet("MAREVO_SYSTEM_LOCALE")) {
            named.append({"system", QLocale::system()});
        }
        return named;
    }();
    return all;
}

// The calculation of the four box texts, top to bottom, in a locale (US English unless named).
BlendOutcome calculate(const QStringList& texts,
                       const QLocale& locale = QLocale(QLocale::English, QLocale::UnitedStates)) {
    return marevo::calculateBlend({texts[0], texts[1], texts[2], texts[3]}, locale);
}

// Writes an English-looking number ("-1,234.5") in the locale's own signs.
QString localized(const QString& english, const QLocale& locale) {
    QString out;
    for (const QChar c : english) {
        if (c == u',') {
            out += locale.groupSeparator();
        } else if (c == u'.') {
            out += locale.decimalPoint();
        } else if (c == u'-') {
            out += locale.negativeSign();
        } else {
            out += c;
        }
    }
    return out;
}

QString row(const NamedLocale& l, const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(l.name), QLatin1String(what));
}

} // namespace

class TestBlend : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void results_data();
    void results();
    void inputErrors_data();
    void inputErrors();
    void arithmeticFailures_data();
    void arithmeticFailures();
    void numberForms_data();
    void numberForms();
    void display_data();
    void display();
};

// The rows in the user's regional settings count only if the system gives the ones asked for.
void TestBlend::initTestCase() {
    const QString asked = qEnvironmentVariable("MAREVO_SYSTEM_LOCALE");
    if (!asked.isEmpty()) {
        QCOMPARE(QLocale::system().name(), asked);
    }
}

void TestBlend::results_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<float>("value");
    QTest::addColumn<bool>("overLimit");
    QTest::addColumn<QString>("display");

    struct Case {
        const char* what;
        QStringList english;
        float value;
        bool overLimit;
        const char* display;
    };
    const QList<Case> cases{
        {"defaults", {"1", "21", "21", "200"}, 21.0F, false, "21.0"},
        {"worked example", {"50", "21", "32", "200"}, 35.666668F, false, "35.7"},
        {"exactly at the limit", {"0", "21", "40", "200"}, 40.0F, false, "40.0"},
        {"at the limit, other final pressure", {"0", "50", "40", "7"}, 40.0F, false, "40.0"},
        {"just over the limit", {"1", "21", "40", "200"}, 40.095478F, true, "40.1"},
        // Judged on the stored single, not on the double it was rounded from.
        {"over the limit in double, at it when stored",
         {"1", "39.9999", "40", "200"},
         40.0F,
         false,
         "40.0"},
        {"the next single over the limit, shown as 40.0",
         {"1", "39.999", "40", "200"},
         40.000004F,
         true,
         "40.0"},
        {"negative result", {"100", "50", "21", "200"}, -8.0F, false, "-8.0"},
        {"negative result rounding to zero",
         {"100", "21", "10.48", "200"},
         -0.040000916F,
         false,
         "-0.0"},
        {"negative zero typed", {"0", "21", "-0", "200"}, -0.0F, false, "0.0"},
        {"a thousand and more", {"199", "21", "100", "200"}, 15821.0F, true, "15,821.0"},
        {"decimals and grouping typed",
         {"1,000.5", "20.9", "36", "2,000"},
         51.115108F,
         true,
         "51.1"},
        {"exponent typed", {"5e1", "21", "3.2e1", "2e2"}, 35.666668F, false, "35.7"},
        {"negative pressure", {"-10", "21", "32", "200"}, 31.476191F, false, "31.5"},
    };
    for (const NamedLocale& l : locales()) {
        for (const Case& c : cases) {
            QStringList texts;
            for (const QString& t : c.english) {
                texts << localized(t, l.locale);
            }
            QTest::newRow(qPrintable(row(l, c.what)))
                << l.locale << texts << c.value << c.overLimit
                << localized(QString::fromUtf8(c.display), l.locale);
        }
    }
}

void TestBlend::results() {
    QFETCH(QLocale, locale);
    QFETCH(QStringList, texts);
    QFETCH(float, value);
    QFETCH(bool, overLimit);
    QFETCH(QString, display);

    const BlendOutcome outcome = calculate(texts, locale);
    const auto* result = std::get_if<BlendResult>(&outcome);
    QVERIFY(result);
    QCOMPARE(result->value, value);
    QCOMPARE(result->overLimit, overLimit);
    QCOMPARE(result->display, display);
}

void TestBlend::inputErrors_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<BlendInput>("input");
    QTest::addColumn<QString>("message");

    const QString pressure = QStringLiteral("Pritisk v jeklenki mora biti število!");
    const QString oxygen = QStringLiteral("Odstotek kisika v jeklenki mora biti število!");
    const QString wanted = QStringLiteral("Odstotek kisika v jeklenki mora biti število število!");
    const QString final = QStringLiteral("Končni pritisk v jeklenki mora biti število!");
    const QString bad = QStringLiteral("abc");

    QTest::newRow("all bad: the first")
        << QStringList{bad, bad, bad, bad} << BlendInput::StartingPressure << pressure;
    QTest::newRow("empty starting oxygen")
        << QStringList{"1", "", "21", "200"} << BlendInput::StartingOxygen << oxygen;
    QTest::newRow("wanted before final")
        << QStringList{"1", "21", "x", "y"} << BlendInput::WantedOxygen << wanted;
    QTest::newRow("final last") << QStringList{"1", "21", "21", "20O"} << BlendInput::FinalPressure
                                << final;
    // A bad text is reported even when a later one would overflow or divide by zero.
    QTest::newRow("bad before too large")
        << QStringList{"1e39", "21", "-", "200"} << BlendInput::WantedOxygen << wanted;
}

void TestBlend::inputErrors() {
    QFETCH(QStringList, texts);
    QFETCH(BlendInput, input);
    QFETCH(QString, message);

    const BlendOutcome outcome = calculate(texts);
    const auto* error = std::get_if<InputError>(&outcome);
    QVERIFY(error);
    QCOMPARE(error->input, input);
    QCOMPARE(error->message.title, QStringLiteral("Opozorilo"));
    QCOMPARE(error->message.text, message);
}

void TestBlend::arithmeticFailures_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<ArithmeticFailure::Reason>("reason");
    QTest::addColumn<QString>("message");

    const QString equal = QStringLiteral("Izračun ni mogoč: začetni in končni pritisk sta enaka!");
    const QString tooLarge = QStringLiteral("Izračun ni mogoč: vnesene vrednosti so prevelike!");
    using Reason = ArithmeticFailure::Reason;
    const QString manyDigits(500, u'9');

    QTest::newRow("equal pressures")
        << QStringList{"200", "21", "32", "200"} << Reason::EqualPressures << equal;
    QTest::newRow("equal pressures, zero over zero")
        << QStringList{"200", "21", "21", "200"} << Reason::EqualPressures << equal;
    QTest::newRow("both pressures zero, one negative")
        << QStringList{"-0", "21", "32", "0"} << Reason::EqualPressures << equal;
    QTest::newRow("value beyond single precision")
        << QStringList{"1", "21", "21", "1e39"} << Reason::TooLarge << tooLarge;
    QTest::newRow("negative value beyond single precision")
        << QStringList{"-1e39", "21", "21", "200"} << Reason::TooLarge << tooLarge;
    QTest::newRow("just past the largest single")
        << QStringList{"1", "21", "3.40282357e38", "200"} << Reason::TooLarge << tooLarge;
    QTest::newRow("500 digits") << QStringList{"1", manyDigits, "21", "200"} << Reason::TooLarge
                                << tooLarge;
    QTest::newRow("too large beats equal pressures")
        << QStringList{"1", "21", "1e40", "1"} << Reason::TooLarge << tooLarge;
    QTest::newRow("result beyond single precision")
        << QStringList{"1", "0", "3e38", "1.0000001"} << Reason::TooLarge << tooLarge;
}

void TestBlend::arithmeticFailures() {
    QFETCH(QStringList, texts);
    QFETCH(ArithmeticFailure::Reason, reason);
    QFETCH(QString, message);

    const BlendOutcome outcome = calculate(texts);
    const auto* failure = std::get_if<ArithmeticFailure>(&outcome);
    QVERIFY(failure);
    QCOMPARE(failure->reason, reason);
    QCOMPARE(failure->message.title, QStringLiteral("Opozorilo"));
    QCOMPARE(failure->message.text, message);
}

void TestBlend::numberForms_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<TypedNumber::Kind>("kind");
    QTest::addColumn<float>("value");

    using Kind = TypedNumber::Kind;
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    const QLocale sl(QLocale::Slovenian, QLocale::Slovenia);
    const QLocale de(QLocale::German, QLocale::Germany);
    const QLocale c = QLocale::c();
    const auto accept = [](const char* name, const QLocale& l, const QString& text, float v) {
        QTest::newRow(name) << l << text << Kind::Number << v;
    };
    const auto reject = [](const char* name, const QLocale& l, const QString& text) {
        QTest::newRow(name) << l << text << Kind::NotANumber << 0.0F;
    };

    accept("en blanks around", en, " \t21 ", 21.0F);
    accept("en plus sign", en, "+21", 21.0F);
    accept("en minus sign", en, "-21.5", -21.5F);
    accept("en no integer digits", en, ".5", 0.5F);
    accept("en no fraction digits", en, "5.", 5.0F);
    accept("en grouped", en, "1,234,567.5", 1234567.5F);
    accept("en exponent", en, "2.5E-2", 0.025F);
    accept("en exponent with plus", en, "1e+3", 1000.0F);
    accept("en below subnormals is zero", en, "1e-50", 0.0F);
    // Too small for double precision too, which Qt reports as a failure.
    accept("en below double's subnormals is zero", en, "1e-400", 0.0F);
    accept("sl below double's subnormals, grouped and signed", sl, "-1.000,5e-400", -0.0F);
    accept("en largest single", en, "3.4028235e38", FLT_MAX);
    accept("en rounds to the nearest single", en, "0.1", 0.1F);
    accept("sl decimal comma", sl, "21,5", 21.5F);
    accept("sl grouped", sl, "1.000,5", 1000.5F);
    accept("sl typographic minus", sl, QStringLiteral("\u22125"), -5.0F);
    accept("de decimal comma", de, "0,21", 0.21F);
    accept("C grouped", c, "1,000.25", 1000.25F);
    accept("nbsp around", en, QStringLiteral("\u00a021\u00a0"), 21.0F);
    const QLocale cs(QLocale::Czech, QLocale::CzechRepublic);
    const QLocale fr(QLocale::French, QLocale::France);
    accept("cs grouped as the locale writes it", cs, QStringLiteral("1\u00a0000,5"), 1000.5F);
    accept("cs grouped with a typed space", cs, "1 000,5", 1000.5F);
    accept("fr grouped with a typed space", fr, "12 345", 12345.0F);
    const QLocale india(QLocale::English, QLocale::India);
    accept("en-IN grouped as the locale writes it", india, "1,00,000", 100000.0F);
    accept("en-IN grouped by threes", india, "1,234,567", 1234567.0F);
    const QLocale es(QLocale::Spanish, QLocale::Spain);
    accept("es four digits grouped, though Spanish writes them ungrouped", es, "1.234,5", 1234.5F);
    const QLocale pl(QLocale::Polish, QLocale::Poland);
    accept("pl four digits grouped with a typed space", pl, "1 234,5", 1234.5F);

    reject("en empty", en, "");
    reject("en blanks only", en, "   ");
    reject("en sign only", en, "-");
    reject("en point only", en, ".");
    reject("en inf", en, "inf");
    reject("en infinity", en, "-Infinity");
    reject("en nan", en, "NaN");
    reject("en hexadecimal", en, "0x10");
    reject("en currency before", en, "$5");
    reject("en currency after", en, QStringLiteral("5\u20ac"));
    reject("en two signs", en, "--5");
    reject("en trailing sign", en, "5-");
    reject("en blank inside", en, "1 000");
    reject("en short group", en, "1,00");
    reject("en long group", en, "1,0000");
    reject("en long first group", en, "1234,567");
    reject("en group after point", en, "1.000,5");
    reject("en leading group separator", en, ",5");
    reject("en group separator in the fraction", en, ".5,000");
    reject("sl group separator in the fraction", sl, "0,123.456");
    reject("en exponent without digits", en, "1e");
    reject("en exponent alone", en, "e3");
    reject("en two points", en, "1.2.3");
    reject("en letters", en, "abc");
    reject("en trailing garbage", en, "21x");
    reject("en control character", en, QStringLiteral("2\u00001"));
    reject("sl dot is no decimal point", sl, "21.5");
    reject("sl inf", sl, "inf");
    reject("sl nan", sl, "nan");
    reject("de dot is no decimal point", de, "21.5");
    reject("C comma is no decimal point", c, "21,5");
    reject("cs space in a short group", cs, "1 00");
    // Other scripts' digits and signs, as pasted from elsewhere.
    reject("en right-to-left marks around digits", en, QStringLiteral("\u202E21\u200F"));
    reject("en Arabic-Indic digits", en, QStringLiteral("٢١ بار"));
    reject("en Hebrew", en, QStringLiteral("עשרים ואחת"));
    reject("en CJK", en, QStringLiteral("二十一 气压"));
    reject("en emoji", en, QStringLiteral("🤿🐠💨 21"));
    reject("en combining marks on digits", en, QStringLiteral("2\u03011\u0308\u0336"));

    QTest::newRow("too large") << en << QStringLiteral("1e39") << Kind::TooLarge << 0.0F;
    QTest::newRow("too large, long exponent")
        << en << QStringLiteral("1e99999999999999999999") << Kind::TooLarge << 0.0F;
    QTest::newRow("leading zeros do not make a value large")
        << en << (QString(1000, u'0') + QStringLiteral("7")) << Kind::Number << 7.0F;
    QTest::newRow("many fraction zeros then a large exponent")
        << en << (QStringLiteral("0.") + QString(100, u'0') + QStringLiteral("1e101"))
        << Kind::Number << 1.0F;
}

void TestBlend::numberForms() {
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(TypedNumber::Kind, kind);
    QFETCH(float, value);

    const TypedNumber number = marevo::readNumber(text, locale);
    QCOMPARE(number.kind, kind);
    if (kind == TypedNumber::Kind::Number) {
        QCOMPARE(number.value, value);
    }
}

void TestBlend::display_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("english");

    QTest::newRow("rounds up") << 35.666668F << "35.7";
    QTest::newRow("whole") << 21.0F << "21.0";
    QTest::newRow("small negative keeps its minus sign") << -0.04F << "-0.0";
    QTest::newRow("negative zero") << -0.0F << "0.0";
    QTest::newRow("negative") << -0.06F << "-0.1";
    // Whether four digits are grouped is the locale's own rule (Slovenian's changed with
    // Qt 6.8's locale data): for them only the reading back below holds everywhere.
    QTest::newRow("four digits") << 1234.5F << QString();
    QTest::newRow("grouped thousands") << 12345.5F << "12,345.5";
    QTest::newRow("grouped millions") << 1234567.0F << "1,234,567.0";
    QTest::newRow("largest single")
        << FLT_MAX << "340,282,346,638,528,859,811,704,183,484,516,925,440.0";
}

void TestBlend::display() {
    QFETCH(float, value);
    QFETCH(QString, english);

    QList<QLocale> all;
    for (const NamedLocale& l : locales()) {
        if (!english.isEmpty()) {
            QCOMPARE(marevo::formatPercentage(value, l.locale), localized(english, l.locale));
        }
        all << l.locale;
    }
    // Every number the window shows is one it reads back, whatever the locale's grouping:
    // Spanish and Polish leave four digits ungrouped, Indian English groups by two.
    all << QList<QLocale>{
        QLocale(QLocale::Spanish, QLocale::Spain), QLocale(QLocale::Polish, QLocale::Poland),
        QLocale(QLocale::English, QLocale::India), QLocale(QLocale::Czech, QLocale::CzechRepublic),
        QLocale(QLocale::French, QLocale::France)};
    const float shownValue = QString::number(value, 'f', 1).toFloat();
    for (const QLocale& locale : all) {
        const QString shown = marevo::formatPercentage(value, locale);
        const TypedNumber read = marevo::readNumber(shown, locale);
        QVERIFY2(read.kind == TypedNumber::Kind::Number && read.value == shownValue,
                 qPrintable(locale.name() + QStringLiteral(" shows ") + shown));
    }
}

QTEST_GUILESS_MAIN(TestBlend)
#include "tst_blend.moc"

#include "calc/number.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace marevo {

namespace {

// The text with each digit made a zero of its own script: the same form, with
// no magnitude left to overflow or vanish.
QString withZeroDigits(QStringView text) {
    QString zeroed = text.toString();
    for (QChar& c : zeroed) {
        if (c.isDigit()) {
            c = QChar(c.unicode() - c.digitValue());
        }
    }
    return zeroed;
}

// Qt reads grouping only where the locale's own numbers would have it: with the CLDR data of
// Qt 6.8, Slovenian (as Spanish and Polish already with Qt 6.4) writes "1000,5" and rejects
// "1.000,5", which people type all the same. Such a text, grouped by threes from its first
// digit up to the decimal separator, is read without its group separators.
std::optional<QString> withoutThreeDigitGroups(QStringView text, const QLocale& locale) {
    const QString group = QRegularExpression::escape(locale.groupSeparator());
    const QString separator =
        locale.groupSeparator().front().isSpace() ? QStringLiteral("(?:%1| )").arg(group) : group;
    const QRegularExpression grouped(
        QStringLiteral(R"(^([^\d%1]*)(\d{1,3}(?:%2\d{3})+)(?!\d)(.*)$)")
            .arg(QRegularExpression::escape(locale.decimalPoint()), separator),
        QRegularExpression::UseUnicodePropertiesOption |
            QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = grouped.match(text.toString());
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    QString digits = match.captured(2);
    digits.remove(QRegularExpression(separator));
    return match.captured(1) + digits + match.captured(3);
}

TypedNumber readAsQtDoes(QStringView text, const QLocale& locale) {
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (ok) {
        if (!std::isfinite(value)) { // Qt reads "inf" and "nan"
            return {};
        }
        if (std::fabs(value) >= kSingleOverflow) {
            return {TypedNumber::Kind::TooLarge, 0.0F};
        }
        return {TypedNumber::Kind::Number, static_cast<float>(value)};
    }
    // Qt reports a magnitude beyond double as infinite; one too small for double
    // as a failure like any other, so the form alone tells it from a non-number.
    if (std::isinf(value)) {
        return {TypedNumber::Kind::TooLarge, 0.0F};
    }
    bool isNumberForm = false;
    const double zero = locale.toDouble(withZeroDigits(text), &isNumberForm);
    if (isNumberForm) {
        return {TypedNumber::Kind::Number, static_cast<float>(zero)};
    }
    return {};
}

} // namespace

TypedNumber readNumber(QStringView text, const QLocale& locale) {
    const TypedNumber number = readAsQtDoes(text, locale);
    if (number.kind != TypedNumber::Kind::NotANumber) {
        return number;
    }
    const std::optional<QString> ungrouped = withoutThreeDigitGroups(text, locale);
    return ungrouped ? readAsQtDoes(*ungrouped, locale) : number;
}

} // namespace marevo

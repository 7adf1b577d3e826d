#include "calc/number.h"

#include <cmath>

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

} // namespace

TypedNumber readNumber(QStringView text, const QLocale& locale) {
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

} // namespace marevo

#include "calc/blend.h"

#include "calc/number.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace marevo {

namespace {

constexpr double kPercentScale = 100.0;

QString caution() {
    return QStringLiteral("Opozorilo");
}

Message inputErrorMessage(BlendInput input) {
    switch (input) {
    case BlendInput::StartingPressure:
        return {caution(), QStringLiteral("Pritisk v jeklenki mora biti število!")};
    case BlendInput::StartingOxygen:
        return {caution(), QStringLiteral("Odstotek kisika v jeklenki mora biti število!")};
    case BlendInput::WantedOxygen:
        // "število število" is this message's exact wording, not a typo: keep it.
        return {caution(), QStringLiteral("Odstotek kisika v jeklenki mora biti število število!")};
    case BlendInput::FinalPressure:
        return {caution(), QStringLiteral("Končni pritisk v jeklenki mora biti število!")};
    }
    Q_UNREACHABLE();
}

ArithmeticFailure failure(ArithmeticFailure::Reason reason) {
    switch (reason) {
    case ArithmeticFailure::Reason::EqualPressures:
        return {
            reason,
            {caution(), QStringLiteral("Izračun ni mogoč: začetni in končni pritisk sta enaka!")}};
    case ArithmeticFailure::Reason::TooLarge:
        return {reason,
                {caution(), QStringLiteral("Izračun ni mogoč: vnesene vrednosti so prevelike!")}};
    }
    Q_UNREACHABLE();
}

} // namespace

Message overLimitMessage() {
    return {QStringLiteral("POZOR!"),
            QStringLiteral("S predmešalnikom polniš lahko mešanice le do 40% kisika!")};
}

QString overLimitWarning() {
    return QStringLiteral("S PREDMEŠALNIKOM POLNIŠ LAHKO MEŠANICE LE DO 40% KISIKA!");
}

QString formatPercentage(float value, const QLocale& locale) {
    // Grouped as the locale itself groups (Spanish leaves four digits alone, Indian English
    // groups by two above the thousands), so that every number shown is one the window reads.
    QLocale grouped = locale;
    grouped.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    QString text = grouped.toString(std::fabs(static_cast<double>(value)), 'f', 1);
    // A top-up below zero stays visibly negative even when it rounds to "0.0";
    // only a zero, negative zero included, is shown without a sign.
    if (value < 0.0F) {
        text.prepend(locale.negativeSign());
    }
    return text;
}

BlendOutcome calculateBlend(const BlendTexts& texts, const QLocale& locale) {
    const std::array<std::pair<BlendInput, const QString*>, 4> inValidationOrder{{
        {BlendInput::StartingPressure, &texts.startingPressure},
        {BlendInput::StartingOxygen, &texts.startingOxygen},
        {BlendInput::WantedOxygen, &texts.wantedOxygen},
        {BlendInput::FinalPressure, &texts.finalPressure},
    }};
    std::array<TypedNumber, 4> numbers;
    for (std::size_t i = 0; i < inValidationOrder.size(); ++i) {
        const auto& [input, text] = inValidationOrder[i];
        numbers[i] = readNumber(*text, locale);
        if (numbers[i].kind == TypedNumber::Kind::NotANumber) {
            return InputError{input, inputErrorMessage(input)};
        }
    }

    // Only once every text is a number: a bad box is reported even beside a huge one.
    const auto tooLarge = [](const TypedNumber& n) {
        return n.kind == TypedNumber::Kind::TooLarge;
    };
    if (std::ranges::any_of(numbers, tooLarge)) {
        return failure(ArithmeticFailure::Reason::TooLarge);
    }
    const auto& [zp, zk, kk, kp] = numbers;

    // Partial-pressure blending in double precision, in exactly this order.
    const double addedOxygen =
        (static_cast<double>(kk.value) / kPercentScale) * static_cast<double>(kp.value) -
        (static_cast<double>(zk.value) / kPercentScale) * static_cast<double>(zp.value);
    const double addedGas = static_cast<double>(kp.value) - static_cast<double>(zp.value);
    if (addedGas == 0.0) {
        return failure(ArithmeticFailure::Reason::EqualPressures);
    }
    const double percentage = addedOxygen / addedGas * kPercentScale;
    if (std::fabs(percentage) >= kSingleOverflow) {
        return failure(ArithmeticFailure::Reason::TooLarge);
    }
    const auto stored = static_cast<float>(percentage);
    return BlendResult{stored, stored > kPreMixerLimit, formatPercentage(stored, locale)};
}

} // namespace marevo

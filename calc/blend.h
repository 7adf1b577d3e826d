#pragma once

#include "calc/message.h"

#include <QLocale>
#include <QString>

#include <variant>

namespace marevo {

// The four boxes, in the order they are validated (top to bottom on screen).
enum class BlendInput { StartingPressure, StartingOxygen, WantedOxygen, FinalPressure };

// The four texts exactly as typed: pressures in bar, oxygen in percent.
struct BlendTexts {
    QString startingPressure;
    QString startingOxygen;
    QString wantedOxygen;
    QString finalPressure;
};

// The first box whose text is not a number.
struct InputError {
    BlendInput input;
    Message message;
};

// The oxygen percentage the top-up gas must have.
struct BlendResult {
    float value;     // stored in single precision before anything looks at it
    bool overLimit;  // more than a pre-mixer can deliver
    QString display; // the value as the window shows it, "#,#0.0"
};

// The numbers admit no answer: a division by zero or a value beyond single precision.
struct ArithmeticFailure {
    enum class Reason { EqualPressures, TooLarge };
    Reason reason;
    Message message;
};

using BlendOutcome = std::variant<InputError, BlendResult, ArithmeticFailure>;

// The most oxygen, in percent, that a pre-mixer can deliver.
inline constexpr float kPreMixerLimit = 40.0F;

// Validates the four texts and computes the top-up oxygen percentage:
// the oxygen still to add (bar) over the gas still to add (bar), in percent.
// Numbers are read and written in the given locale. No state, no side effects.
BlendOutcome calculateBlend(const BlendTexts& texts, const QLocale& locale);

// What the window shows when the result is over the pre-mixer's limit.
Message overLimitMessage();
QString overLimitWarning();

// The result as the window shows it: one decimal, digits grouped as the locale groups them.
QString formatPercentage(float value, const QLocale& locale);

} // namespace marevo

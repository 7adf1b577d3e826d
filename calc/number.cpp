#include "calc/number.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

namespace marevo {

namespace {

// Exponents are clamped here, far beyond any digit count a text can hold, so
// the order of magnitude below stays exact and never overflows.
constexpr std::int64_t kExponentClamp = 1'000'000'000'000;

// Decimal orders of magnitude (value = 0.ddd x 10^order) beyond which a value is
// certainly outside single precision (above 3.4e38) or certainly rounds to zero
// (below half the smallest subnormal, 1.4e-45).
constexpr std::int64_t kOrderTooLarge = 40;
constexpr std::int64_t kOrderVanishing = -46;

class Scanner {
public:
    Scanner(QStringView text, const QLocale& locale) : text_(text) {
        const QString zero = locale.zeroDigit();
        if (zero.size() == 1) {
            localZero_ = zero.front().unicode();
        }
    }

    bool atEnd() const { return pos_ >= text_.size(); }

    bool take(QStringView token) {
        if (token.isEmpty() || !text_.mid(pos_).startsWith(token)) {
            return false;
        }
        pos_ += token.size();
        return true;
    }

    bool takeAnyOf(std::initializer_list<QStringView> tokens) {
        for (const QStringView token : tokens) {
            if (take(token)) {
                return true;
            }
        }
        return false;
    }

    // Appends the digits at the current position as ASCII, returns how many.
    qsizetype takeDigits(std::string& out) {
        qsizetype count = 0;
        while (!atEnd()) {
            const int digit = digitValue(text_[pos_]);
            if (digit < 0) {
                break;
            }
            out.push_back(static_cast<char>('0' + digit));
            ++pos_;
            ++count;
        }
        return count;
    }

    qsizetype position() const { return pos_; }
    void rewind(qsizetype position) { pos_ = position; }

private:
    int digitValue(QChar c) const {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9') {
            return u - u'0';
        }
        if (localZero_ != u'0' && u >= localZero_ && u <= localZero_ + 9) {
            return u - localZero_;
        }
        return -1;
    }

    QStringView text_;
    char16_t localZero_ = u'0';
    qsizetype pos_ = 0;
};

// The locale's group separator as typed. Where it is a non-breaking space, which
// no keyboard types, a plain space and the other non-breaking space do as well.
bool takeGroupSeparator(Scanner& in, QStringView groupSeparator) {
    if (in.take(groupSeparator)) {
        return true;
    }
    const bool spaceLike = groupSeparator == u"\u00a0" || groupSeparator == u"\u202f";
    return spaceLike && in.takeAnyOf({u" ", u"\u00a0", u"\u202f"});
}

// Reads the integer part, with or without group separators, into digits.
bool takeIntegerPart(Scanner& in, std::string& digits, QStringView groupSeparator) {
    const qsizetype leading = in.takeDigits(digits);
    if (leading == 0 || leading > 3 || groupSeparator.isEmpty()) {
        return true;
    }
    // Grouped: each separator must be followed by exactly three digits.
    while (true) {
        const qsizetype before = in.position();
        if (!takeGroupSeparator(in, groupSeparator)) {
            return true;
        }
        if (in.takeDigits(digits) != 3) {
            in.rewind(before);
            return false;
        }
    }
}

std::int64_t takeExponent(Scanner& in, bool& ok) {
    bool negative = false;
    if (in.takeAnyOf({u"-", u"\u2212"})) {
        negative = true;
    } else {
        in.take(u"+");
    }
    std::string digits;
    ok = in.takeDigits(digits) > 0;
    std::int64_t exponent = 0;
    for (const char d : digits) {
        exponent = std::min(exponent * 10 + (d - '0'), kExponentClamp);
    }
    return negative ? -exponent : exponent;
}

} // namespace

TypedNumber readNumber(QStringView text, const QLocale& locale) {
    const TypedNumber notANumber;
    const QString negativeSign = locale.negativeSign();
    const QString positiveSign = locale.positiveSign();
    const QString decimalPoint = locale.decimalPoint();
    const QString groupSeparator = locale.groupSeparator();
    const QString exponential = locale.exponential();

    Scanner in(text.trimmed(), locale);
    bool negative = false;
    if (in.takeAnyOf({negativeSign, u"-", u"\u2212"})) {
        negative = true;
    } else {
        in.takeAnyOf({positiveSign, u"+"});
    }

    std::string integerDigits;
    if (!takeIntegerPart(in, integerDigits, groupSeparator)) {
        return notANumber;
    }
    std::string fractionDigits;
    if (in.take(decimalPoint)) {
        in.takeDigits(fractionDigits);
    }
    if (integerDigits.empty() && fractionDigits.empty()) {
        return notANumber;
    }
    std::int64_t exponent = 0;
    if (in.takeAnyOf({u"e", u"E", exponential})) {
        bool ok = false;
        exponent = takeExponent(in, ok);
        if (!ok) {
            return notANumber;
        }
    }
    if (!in.atEnd()) {
        return notANumber;
    }

    // Significant digits and their decimal order: value = 0.ddd x 10^order.
    const std::string digits = integerDigits + fractionDigits;
    const auto firstSignificant = digits.find_first_not_of('0');
    if (firstSignificant == std::string::npos) {
        return {TypedNumber::Kind::Number, negative ? -0.0F : 0.0F};
    }
    const std::int64_t order = static_cast<std::int64_t>(integerDigits.size()) -
                               static_cast<std::int64_t>(firstSignificant) + exponent;
    if (order >= kOrderTooLarge) {
        return {TypedNumber::Kind::TooLarge, 0.0F};
    }
    float value = 0.0F;
    if (order > kOrderVanishing) {
        std::string normalized = "0." + digits.substr(firstSignificant);
        normalized += 'e';
        normalized += std::to_string(order);
        const char* const first = normalized.data();
        const char* const last = first + normalized.size();
        const auto [end, error] = std::from_chars(first, last, value);
        if (error == std::errc::result_out_of_range) {
            if (order > 0) {
                return {TypedNumber::Kind::TooLarge, 0.0F};
            }
            value = 0.0F;
        } else if (error != std::errc() || end != last) {
            return notANumber;
        }
    }
    return {TypedNumber::Kind::Number, negative ? -value : value};
}

} // namespace marevo

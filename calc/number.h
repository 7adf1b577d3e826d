#pragma once

#include <QLocale>
#include <QStringView>

namespace marevo {

// What a typed text turned out to be when read as a single-precision number.
struct TypedNumber {
    enum class Kind {
        NotANumber, // fails the numeric test
        TooLarge,   // a number, but beyond the range of single precision
        Number,
    };
    Kind kind = Kind::NotANumber;
    float value = 0.0F;
};

// The smallest magnitude that rounds to infinity in single precision: halfway
// between the largest float and the next power of two. Anything below it
// rounds to a finite float.
inline constexpr double kSingleOverflow = 0x1.ffffffp+127;

// Reads a typed text as a number in the given locale, as QLocale::toDouble()
// does. The numeric test and the conversion are this one function, so they can
// never disagree.
//
// Accepted: blanks around the number; one leading sign; digits with the locale's
// decimal separator, with digits on at least one side of it; the locale's own
// digit grouping in the integer part, or groups of three where the locale leaves
// short numbers ungrouped (a plain space where the locale groups with a
// non-breaking one); an exponent ("1e3", "2,5E-2").
// Rejected: an empty text, infinity and NaN in any spelling, hexadecimal,
// currency signs, a group separator anywhere else (in a Slovenian locale "21.5"
// is not a number), and everything else.
//
// The value is rounded to double precision, then to single. A magnitude too
// small for single precision becomes zero.
TypedNumber readNumber(QStringView text, const QLocale& locale);

} // namespace marevo

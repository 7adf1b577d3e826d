// Feeds arbitrary texts and locales to the blend calculation. The first byte
// picks the locale; the rest, read as UTF-8, is split at NUL bytes into the four
// box texts. Any crash or sanitizer report is a finding.

#include "calc/blend.h"

#include <QLocale>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>

namespace {

const std::array<QLocale, 6>& locales() {
    static const std::array<QLocale, 6> all{
        QLocale::c(),
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::Slovenian, QLocale::Slovenia),
        QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::French, QLocale::France), // a space-like group separator
        QLocale(QLocale::Arabic, QLocale::Egypt),  // digits of its own
    };
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const QLocale& locale = locales()[data[0] % locales().size()];
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                            static_cast<qsizetype>(size - 1));
    QStringList texts = input.split(QChar(u'\0'));
    texts.resize(4);

    const marevo::BlendOutcome outcome =
        marevo::calculateBlend({texts[0], texts[1], texts[2], texts[3]}, locale);
    if (const auto* result = std::get_if<marevo::BlendResult>(&outcome)) {
        // The result is always a finite number that the window can show.
        if (!qIsFinite(result->value) || result->display.isEmpty()) {
            __builtin_trap();
        }
    }
    return 0;
}

#pragma once

#include <QImage>

namespace marevo {

// The colours of the application icon, a generic window.
struct IconColours {
    QRgb outline;
    QRgb shadow;
    QRgb title;
    QRgb titleText;
    QRgb closeBox;
    QRgb closeMark;
    QRgb menu;
    QRgb client;
    QRgb content;
};

// In the classic 16 colours, and in black and white.
inline constexpr IconColours kColourIcon = {
    qRgb(0, 0, 0),       qRgb(128, 128, 128), qRgb(0, 0, 128),
    qRgb(255, 255, 255), qRgb(255, 0, 0),     qRgb(255, 255, 255),
    qRgb(192, 192, 192), qRgb(255, 255, 255), qRgb(128, 128, 128),
};
inline constexpr IconColours kMonoIcon = {
    qRgb(0, 0, 0),       qRgb(0, 0, 0),       qRgb(0, 0, 0),
    qRgb(255, 255, 255), qRgb(255, 255, 255), qRgb(0, 0, 0),
    qRgb(255, 255, 255), qRgb(255, 255, 255), qRgb(0, 0, 0),
};

// The icon at 16 or 32 pixels, pixel for pixel, on a transparent ground. The
// window draws its icon with this rather than decoding pictures at start-up; the
// icon files in resources/ are drawn with it too.
QImage drawWindowIcon(int size, const IconColours& c = kColourIcon);

} // namespace marevo

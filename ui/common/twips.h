#pragma once

#include <QRect>

namespace marevo {

// Positions and sizes as the windows are designed: in twips, 1/1440 inch, from
// the top-left corner of the client area. 15 twips make one logical pixel at
// 96 dpi; Qt's high-DPI scaling then grows everything on denser screens.
struct Twips {
    int left;
    int top;
    int width;
    int height;
};

inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
    // Rounded to the nearest pixel, halves away from zero, for negative positions too.
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

constexpr QRect toPixels(const Twips& twips) {
    return {twipsToPixels(twips.left), twipsToPixels(twips.top), twipsToPixels(twips.width),
            twipsToPixels(twips.height)};
}

} // namespace marevo

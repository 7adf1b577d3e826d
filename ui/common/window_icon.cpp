#include "ui/common/window_icon.h"

#include <QPainter>

namespace marevo {

namespace {

struct IconPart {
    QRect rect; // on the icon's 16-pixel grid
    QRgb colour;
};

// The rectangles of resources/icon.svg, back to front.
// clang-format off
constexpr IconPart kIconParts[] = {
    {{ 1, 14, 15,  1}, qRgb(128, 128, 128)}, // shadow
    {{15,  2,  1, 13}, qRgb(128, 128, 128)},
    {{ 0,  1, 15, 13}, qRgb(  0,   0,   0)}, // frame
    {{ 1,  2, 13,  4}, qRgb(  0,   0, 128)}, // title bar
    {{ 2,  3,  5,  1}, qRgb(255, 255, 255)}, // title
    {{11,  3,  2,  2}, qRgb(255,   0,   0)}, // close box
    {{ 1,  7, 13,  6}, qRgb(255, 255, 255)}, // client area
    {{ 3,  9,  7,  1}, qRgb(128, 128, 128)}, // text lines
    {{ 3, 11,  5,  1}, qRgb(128, 128, 128)},
};
// clang-format on

} // namespace

QImage drawWindowIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const int scale = size / 16;
    for (const IconPart& part : kIconParts) {
        const QRect& r = part.rect;
        painter.fillRect(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale,
                         QColor(part.colour));
    }
    return image;
}

} // namespace marevo

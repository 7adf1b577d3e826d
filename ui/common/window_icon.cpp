#include "ui/common/window_icon.h"

#include <QPainter>

namespace marevo {

QImage drawWindowIcon(int size, const IconColours& c) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    auto fill = [&p](int x, int y, int w, int h, QRgb colour) {
        p.fillRect(QRect(x, y, w, h), QColor(colour));
    };

    if (size == 32) {
        fill(2, 29, 30, 1, c.shadow);
        fill(31, 4, 1, 25, c.shadow);
        fill(1, 3, 30, 26, c.outline);
        fill(2, 4, 28, 7, c.title);
        fill(4, 7, 10, 1, c.titleText);
        // Close box with a small cross.
        fill(24, 5, 5, 5, c.closeBox);
        for (const int i : {0, 2}) {
            for (const int j : {0, 2}) {
                fill(25 + i, 6 + j, 1, 1, c.closeMark);
            }
        }
        fill(26, 7, 1, 1, c.closeMark);
        fill(2, 12, 28, 2, c.menu);
        fill(2, 14, 28, 14, c.client);
        fill(5, 17, 18, 1, c.content);
        fill(5, 20, 14, 1, c.content);
        fill(5, 23, 20, 1, c.content);
    } else {
        fill(1, 14, 15, 1, c.shadow);
        fill(15, 2, 1, 13, c.shadow);
        fill(0, 1, 15, 13, c.outline);
        fill(1, 2, 13, 4, c.title);
        fill(2, 3, 5, 1, c.titleText);
        fill(11, 3, 2, 2, c.closeBox);
        fill(1, 7, 13, 6, c.client);
        fill(3, 9, 7, 1, c.content);
        fill(3, 11, 5, 1, c.content);
    }
    return image;
}

} // namespace marevo

#include "reference_picture.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QRegion>
#include <QStyleFactory>
#include <QWidget>

namespace marevo::testing {

namespace {

// Per channel, what antialiasing may change; and how many pixels may differ
// more than that before the look counts as changed.
constexpr int kChannelTolerance = 48;
constexpr int kDifferingPixelsAllowed = 12;

QImage render(QWidget* window, qreal devicePixelRatio) {
    QImage image(window->size() * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::magenta);
    window->render(&image);
    return image;
}

QImage quarter(const QImage& image) {
    return image.scaled(image.size() / 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

void useRepeatableRendering() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setCursorFlashTime(0);
}

QString compareWithReference(QWidget* window, const QString& referenceName, qreal devicePixelRatio,
                             const QList<QWidget*>& leftOut) {
    const QString referencePath =
        QStringLiteral(MAREVO_REFERENCE_DIR "/") + referenceName + QStringLiteral(".png");
    QImage actual = render(window, devicePixelRatio);
    if (devicePixelRatio == 1 && qEnvironmentVariableIntValue("MAREVO_UPDATE_REFERENCES") == 1) {
        actual.save(referencePath);
        return {};
    }
    QImage expected = QImage(referencePath).convertToFormat(QImage::Format_RGB32);
    if (expected.isNull()) {
        return QStringLiteral("no reference picture at ") + referencePath;
    }
    if (expected.size() != window->size()) {
        return QStringLiteral("size %1x%2, reference %3x%4")
            .arg(window->width())
            .arg(window->height())
            .arg(expected.width())
            .arg(expected.height());
    }
    if (!kPixelsCompared) {
        return {};
    }
    if (devicePixelRatio != 1) {
        // Text laid out without hinting differs glyph by glyph; at a quarter of the size the
        // glyphs blur into grey, and what stays is where each control lies, its size and colours.
        actual =
            quarter(actual.scaled(window->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        expected = quarter(expected);
    }
    QImage difference(actual.size(), QImage::Format_RGB32);
    difference.fill(Qt::white);
    QRegion compared(actual.rect());
    for (const QWidget* control : leftOut) {
        compared -= QRect(control->mapTo(window, QPoint()), control->size());
    }
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            if (!compared.contains(QPoint(x, y))) {
                continue;
            }
            const QRgb a = actual.pixel(x, y);
            const QRgb e = expected.pixel(x, y);
            const int delta =
                std::max({std::abs(qRed(a) - qRed(e)), std::abs(qGreen(a) - qGreen(e)),
                          std::abs(qBlue(a) - qBlue(e))});
            if (delta > kChannelTolerance) {
                ++differing;
                difference.setPixel(x, y, qRgb(255, 0, 0));
            }
        }
    }
    if (differing <= kDifferingPixelsAllowed) {
        return {};
    }
    const QString kept = QDir::current().absoluteFilePath(referenceName);
    actual.save(kept + QStringLiteral("-actual.png"));
    difference.save(kept + QStringLiteral("-difference.png"));
    return QStringLiteral("%1 pixels differ from %2; see %3-actual.png and %3-difference.png")
        .arg(differing)
        .arg(referencePath, kept);
}

} // namespace marevo::testing

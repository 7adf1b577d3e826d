#include "reference_picture.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QStyleFactory>
#include <QWidget>

namespace marevo::testing {

namespace {

// Per channel, what antialiasing may change; and how many pixels may differ
// more than that before the look counts as changed.
constexpr int kChannelTolerance = 48;
constexpr int kDifferingPixelsAllowed = 12;

QImage render(QWidget* window) {
    QImage image(window->size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    window->render(&image);
    return image;
}

} // namespace

void useRepeatableRendering() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setCursorFlashTime(0);
}

QString compareWithReference(QWidget* window, const QString& referenceName) {
    const QString referencePath =
        QStringLiteral(MAREVO_REFERENCE_DIR "/") + referenceName + QStringLiteral(".png");
    const QImage actual = render(window);
    if (qEnvironmentVariableIntValue("MAREVO_UPDATE_REFERENCES") == 1) {
        actual.save(referencePath);
        return {};
    }
    const QImage expected = QImage(referencePath).convertToFormat(QImage::Format_RGB32);
    if (expected.isNull()) {
        return QStringLiteral("no reference picture at ") + referencePath;
    }
    if (expected.size() != actual.size()) {
        return QStringLiteral("size %1x%2, reference %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    }
#ifdef Q_OS_WIN
    // Windows rasterises text with other hinting: there the look is checked by its size
    // alone, and pixel by pixel on Linux.
    return {};
#endif
    QImage difference(actual.size(), QImage::Format_RGB32);
    difference.fill(Qt::white);
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
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

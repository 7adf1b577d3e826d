// Derives from the icon, resources/icon.svg, the files that are mere sizes of it or that Qt
// cannot write: icon-16.png to icon-256.png, and marevo.ico for Windows with its 32 × 32 image in
// 2 colours and its 32 × 32 and 16 × 16 images in 16 colours. The pictures themselves (icon.svg,
// banner.jpg, emblem.jpg) are the sources; nothing here writes them.
//
// Usage: derive_icons RESOURCES_FOLDER

#include <QByteArray>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <vector>

namespace {

// The standard 16 colours in the order Windows uses for 4-bit bitmaps, then black and white for
// 1-bit ones; the last entry of each table stands for a transparent pixel.
// clang-format off
const QList<QRgb> kSixteenColours = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    qRgba(0, 0, 0, 0),
};
// clang-format on
const QList<QRgb> kTwoColours = {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgba(0, 0, 0, 0)};

QImage render(QSvgRenderer& svg, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    svg.render(&painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Everything darker than light grey turns black, so that the grey text lines stay visible.
QImage blackAndWhite(QImage image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) != 0) {
                image.setPixel(x, y, qGray(pixel) < 192 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
            }
        }
    }
    return image;
}

// One image of an .ico file: a BITMAPINFOHEADER, the palette, the colour (XOR) bitmap and the
// 1-bit transparency (AND) mask, both stored bottom-up with rows padded to four bytes.
QByteArray iconImage(const QImage& indexed, int bitsPerPixel) {
    const int colours = 1 << bitsPerPixel;
    const int width = indexed.width();
    const int height = indexed.height();
    const int xorRow = (width * bitsPerPixel + 31) / 32 * 4;
    const int andRow = (width + 31) / 32 * 4;
    QByteArray xorBits(static_cast<qsizetype>(xorRow) * height, '\0');
    QByteArray andBits(static_cast<qsizetype>(andRow) * height, '\0');
    for (int y = 0; y < height; ++y) {
        const int row = height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const int index = indexed.pixelIndex(x, y);
            if (index == colours) {
                // Colour index 0 (black) under a set mask bit shows the desktop.
                char& mask = andBits[row * andRow + x / 8];
                mask = static_cast<char>(mask | 0x80 >> x % 8);
                continue;
            }
            const int bit = x * bitsPerPixel;
            char& byte = xorBits[row * xorRow + bit / 8];
            byte = static_cast<char>(byte | index << (8 - bitsPerPixel - bit % 8));
        }
    }

    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(40) << qint32(width) << qint32(2 * height) << quint16(1) << quint16(bitsPerPixel)
        << quint32(0) << quint32(xorBits.size() + andBits.size()) << qint32(0) << qint32(0)
        << quint32(colours) << quint32(0);
    for (int i = 0; i < colours; ++i) {
        const QRgb colour = indexed.color(i);
        out << quint8(qBlue(colour)) << quint8(qGreen(colour)) << quint8(qRed(colour)) << quint8(0);
    }
    out.writeRawData(xorBits.constData(), int(xorBits.size()));
    out.writeRawData(andBits.constData(), int(andBits.size()));
    return data;
}

struct IcoEntry {
    QImage indexed;
    int bitsPerPixel;
};

QByteArray icoFile(const std::vector<IcoEntry>& entries) {
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(entries.size());
    std::vector<QByteArray> images;
    auto offset = quint32(6 + 16 * entries.size());
    for (const IcoEntry& entry : entries) {
        images.push_back(iconImage(entry.indexed, entry.bitsPerPixel));
        out << quint8(entry.indexed.width()) << quint8(entry.indexed.height())
            << quint8(1 << entry.bitsPerPixel) << quint8(0) << quint16(1)
            << quint16(entry.bitsPerPixel) << quint32(images.back().size()) << offset;
        offset += quint32(images.back().size());
    }
    for (const QByteArray& image : images) {
        out.writeRawData(image.constData(), int(image.size()));
    }
    return file;
}

// The icon in the standard 16 colours; a null image, after saying why, where it needs others.
QImage sixteenColours(QSvgRenderer& svg, int size) {
    const QImage full = render(svg, size);
    QImage indexed = full.convertToFormat(QImage::Format_Indexed8, kSixteenColours);
    if (indexed.convertToFormat(QImage::Format_ARGB32) != full) {
        std::fprintf(stderr,
                     "icon.svg at %d pixels: a colour beyond the standard 16, or a pixel "
                     "only partly covered\n",
                     size);
        return {};
    }
    return indexed;
}

bool written(bool ok, const QString& path) {
    if (!ok) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RESOURCES_FOLDER\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    QSvgRenderer svg(dir.filePath(QStringLiteral("icon.svg")));
    if (!svg.isValid()) {
        std::fprintf(stderr, "cannot read %s\n",
                     qPrintable(dir.filePath(QStringLiteral("icon.svg"))));
        return 1;
    }

    bool ok = true;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QImage icon = sixteenColours(svg, size);
        const QString path = dir.filePath(QStringLiteral("icon-%1.png").arg(size));
        ok = !icon.isNull() && written(icon.save(path), path) && ok;
    }
    if (!ok) {
        return 1;
    }
    const QImage mono =
        blackAndWhite(render(svg, 32)).convertToFormat(QImage::Format_Indexed8, kTwoColours);
    const QByteArray ico =
        icoFile({{mono, 1}, {sixteenColours(svg, 32), 4}, {sixteenColours(svg, 16), 4}});
    const QString icoPath = dir.filePath(QStringLiteral("marevo.ico"));
    QFile file(icoPath);
    return written(file.open(QIODevice::WriteOnly) && file.write(ico) == ico.size(), icoPath) ? 0
                                                                                              : 1;
}

// Draws every picture of Kalkulator Marevo: the name banner, the diving club emblem and the
// application icon (Windows .ico, small PNGs, large PNGs for the icon theme and an SVG).
//
// Usage: draw_pictures OUTPUT_FOLDER
//
// Everything is painted from code with fixed geometry and the Liberation Sans Bold font, so
// running it again gives the same pictures.

#include "ui/common/window_icon.h"

#include <QByteArray>
#include <QColor>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QTextStream>

#include <array>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <span>
#include <vector>

namespace {

const QString textFamily = QStringLiteral("Liberation Sans");

QFont boldFont(int pixelSize) {
    QFont font(textFamily);
    font.setBold(true);
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// Text outlines are made large and then scaled to the size wanted.
constexpr int outlineSize = 100;

QPainterPath textOutline(const QString& text) {
    QPainterPath path;
    path.addText(0, 0, boldFont(outlineSize), text);
    return path;
}

// Capitals whose cap line lies on the top of `capRect`, baseline on its bottom, and which run
// from its left to its right edge. Putting both lines on whole pixels keeps the flat tops and
// bottoms of the letters sharp; only round letters reach a little past them.
QPainterPath capitalsFilling(const QString& text, const QRectF& capRect) {
    const QPainterPath path = textOutline(text);
    const QRectF bounds = path.boundingRect();
    const qreal capHeight = -textOutline(QStringLiteral("H")).boundingRect().top();
    QTransform place;
    place.translate(capRect.left(), capRect.bottom());
    place.scale(capRect.width() / bounds.width(), capRect.height() / capHeight);
    place.translate(-bounds.left(), 0);
    return place.map(path);
}

// Capitals of the given height, centred horizontally on `centreX`, baseline at `baseline`,
// optionally narrowed by `widthScale`.
QPainterPath centredCapitals(const QString& text, qreal capHeight, qreal centreX, qreal baseline,
                             qreal widthScale = 1.0) {
    const QPainterPath path = textOutline(text);
    const QRectF bounds = path.boundingRect();
    const qreal scale = capHeight / -textOutline(QStringLiteral("H")).boundingRect().top();
    const qreal width = bounds.width() * scale * widthScale;
    return capitalsFilling(text,
                           QRectF(centreX - width / 2, baseline - capHeight, width, capHeight));
}

// Writes the pictures into one folder and remembers whether any of them failed.
class Output {
public:
    explicit Output(const QDir& dir) : dir_(dir) {}

    bool ok() const { return ok_; }

    void jpeg(const QImage& image, const QString& name) {
        QImageWriter writer(dir_.filePath(name), "jpeg");
        writer.setQuality(90);
        writer.setOptimizedWrite(false);
        writer.setProgressiveScanWrite(false);
        check(writer.write(image.convertToFormat(QImage::Format_RGB32)), name,
              writer.errorString());
    }

    void png(const QImage& image, const QString& name) {
        QImageWriter writer(dir_.filePath(name), "png");
        check(writer.write(image), name, writer.errorString());
    }

    void bytes(const QByteArray& bytes, const QString& name) {
        QFile file(dir_.filePath(name));
        const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        check(written, name, file.errorString());
    }

private:
    void check(bool written, const QString& name, const QString& error) {
        if (!written) {
            std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(dir_.filePath(name)),
                         qPrintable(error));
            ok_ = false;
        }
    }

    QDir dir_;
    bool ok_ = true;
};

// ---------------------------------------------------------------------------------------------
// Banner: the program's name, dark green on yellow, shown in the corner of the main window.

QImage drawBanner() {
    const QColor ground(255, 255, 0);
    const QColor ink(0, 100, 0);

    QImage image(70, 36, QImage::Format_RGB32);
    image.fill(ground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // A thin frame, then the name between the cap line and baseline at whole pixels.
    painter.setPen(QPen(ink, 1));
    painter.drawRect(QRectF(1.5, 1.5, 67, 33));
    painter.fillPath(capitalsFilling(QStringLiteral("MAREVO"), QRectF(5, 8, 60, 20)), ink);
    return image;
}

// ---------------------------------------------------------------------------------------------
// Emblem: a blue and white shield of a diving club with the diver-down flag above the waves.

QImage drawEmblem() {
    const QColor window(192, 255, 255);
    const QColor navy(12, 52, 130);
    const QColor sea(30, 110, 200);
    const QColor flagRed(214, 24, 32);

    QImage image(80, 105, QImage::Format_RGB32);
    image.fill(window);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // Shield: straight sides, rounded upper corners, a pointed bottom.
    auto shieldPath = [](const QRectF& r) {
        const qreal corner = 6;
        const qreal sideEnd = r.top() + r.height() * 0.58;
        QPainterPath path;
        path.moveTo(r.left() + corner, r.top());
        path.lineTo(r.right() - corner, r.top());
        path.quadTo(r.right(), r.top(), r.right(), r.top() + corner);
        path.lineTo(r.right(), sideEnd);
        path.cubicTo(r.right(), r.bottom() - r.height() * 0.18, r.center().x() + r.width() * 0.22,
                     r.bottom() - r.height() * 0.08, r.center().x(), r.bottom());
        path.cubicTo(r.center().x() - r.width() * 0.22, r.bottom() - r.height() * 0.08, r.left(),
                     r.bottom() - r.height() * 0.18, r.left(), sideEnd);
        path.lineTo(r.left(), r.top() + corner);
        path.quadTo(r.left(), r.top(), r.left() + corner, r.top());
        path.closeSubpath();
        return path;
    };

    const QRectF outer(2, 2, 76, 101);
    const QPainterPath shield = shieldPath(outer);
    painter.fillPath(shield, navy);
    const QPainterPath inner = shieldPath(outer.adjusted(3, 3, -3, -3));
    painter.fillPath(inner, Qt::white);

    // Everything inside stays within the white field.
    painter.setClipPath(inner);

    // Upper band with the first word.
    painter.fillRect(QRectF(0, 0, 80, 20), navy);
    painter.fillPath(centredCapitals(QStringLiteral("POTAPLJAŠKI"), 7, 40, 15, 0.92), Qt::white);

    // Diver-down flag: red with a white stripe from the upper hoist to the lower fly corner.
    const QRectF flag(20, 27, 40, 27);
    painter.save();
    painter.setClipRect(flag, Qt::IntersectClip);
    painter.fillRect(flag, flagRed);
    painter.setPen(QPen(Qt::white, 6.5, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(flag.topLeft() + QPointF(-2, -1.35), flag.bottomRight() + QPointF(2, 1.35));
    painter.restore();
    painter.setPen(QPen(navy, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(flag.adjusted(-0.5, -0.5, 0.5, 0.5));

    // Two waves under the flag.
    painter.setPen(QPen(sea, 2.2, Qt::SolidLine, Qt::RoundCap));
    for (const qreal y : {62.0, 68.5}) {
        QPainterPath wave;
        wave.moveTo(8, y);
        for (int i = 0; i < 4; ++i) {
            const qreal x = 8 + i * 16;
            wave.cubicTo(x + 4, y - 3.5, x + 8, y - 3.5, x + 8, y);
            wave.cubicTo(x + 12, y + 3.5, x + 16, y + 3.5, x + 16, y);
        }
        painter.drawPath(wave);
    }

    // The second word in the narrowing lower part of the shield.
    painter.fillPath(centredCapitals(QStringLiteral("KLUB"), 9, 40, 86), navy);
    return image;
}

// ---------------------------------------------------------------------------------------------
// Application icon: a generic window with a blue title bar, a small close box and a light client
// area. The small sizes are pixel art in the classic 16-colour palette (and black and white), the
// large ones are rendered from a vector description that also becomes the SVG.

// The standard 16-colour VGA palette in the order Windows uses for 4-bit bitmaps.
constexpr std::array<QRgb, 16> vgaPalette = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};
constexpr std::array<QRgb, 2> monoPalette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};

// Maps every opaque pixel to the nearest palette colour. The result is an 8-bit indexed image
// whose first entries are the palette; index palette.size() stands for a transparent pixel.
QImage quantise(const QImage& source, std::span<const QRgb> palette) {
    QImage image(source.size(), QImage::Format_Indexed8);
    QList<QRgb> table(palette.begin(), palette.end());
    table.append(qRgba(0, 0, 0, 0));
    image.setColorTable(table);
    const auto transparentIndex = static_cast<uchar>(palette.size());

    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb pixel = source.pixel(x, y);
            if (qAlpha(pixel) < 128) {
                image.setPixel(x, y, transparentIndex);
                continue;
            }
            int best = 0;
            int bestDistance = INT_MAX;
            for (int i = 0; i < static_cast<int>(palette.size()); ++i) {
                const int dr = qRed(pixel) - qRed(palette[i]);
                const int dg = qGreen(pixel) - qGreen(palette[i]);
                const int db = qBlue(pixel) - qBlue(palette[i]);
                const int distance = dr * dr + dg * dg + db * db;
                if (distance < bestDistance) {
                    bestDistance = distance;
                    best = i;
                }
            }
            image.setPixel(x, y, static_cast<uint>(best));
        }
    }
    return image;
}

// One image of an .ico file: a BITMAPINFOHEADER, the palette, the colour (XOR) bitmap and the
// 1-bit transparency (AND) mask, both stored bottom-up with rows padded to four bytes.
struct IconImage {
    QImage indexed; // from quantise()
    int paletteSize;
    int bitsPerPixel;
};

int rowBytes(int width, int bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

QByteArray iconImageData(const IconImage& icon) {
    const QImage& img = icon.indexed;
    const int width = img.width();
    const int height = img.height();
    const int bpp = icon.bitsPerPixel;
    const int xorRow = rowBytes(width, bpp);
    const int andRow = rowBytes(width, 1);

    std::vector<quint8> xorBits(static_cast<std::size_t>(xorRow) * height);
    std::vector<quint8> andBits(static_cast<std::size_t>(andRow) * height);
    auto setBits = [](quint8& byte, int bits) { byte = static_cast<quint8>(byte | bits); };
    for (int y = 0; y < height; ++y) {
        const int row = height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const int index = img.pixelIndex(x, y);
            if (index >= icon.paletteSize) {
                setBits(andBits[row * andRow + x / 8], 0x80 >> (x % 8));
                continue; // colour index 0 (black) under a set mask bit shows the desktop
            }
            const int bitOffset = x * bpp;
            const int shift = 8 - bpp - bitOffset % 8;
            setBits(xorBits[row * xorRow + bitOffset / 8], index << shift);
        }
    }

    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(40) << qint32(width) << qint32(2 * height) << quint16(1) << quint16(bpp)
        << quint32(0) << quint32(xorBits.size() + andBits.size()) << qint32(0) << qint32(0)
        << quint32(icon.paletteSize) << quint32(0);
    for (int i = 0; i < icon.paletteSize; ++i) {
        const QRgb colour = img.color(i);
        out << quint8(qBlue(colour)) << quint8(qGreen(colour)) << quint8(qRed(colour)) << quint8(0);
    }
    for (const quint8 byte : xorBits) {
        out << byte;
    }
    for (const quint8 byte : andBits) {
        out << byte;
    }
    return data;
}

QByteArray iconFile(const std::vector<IconImage>& icons) {
    constexpr int directorySize = 6;
    constexpr int entrySize = 16;

    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(icons.size());

    std::vector<QByteArray> images;
    auto offset = static_cast<quint32>(directorySize + entrySize * icons.size());
    for (const IconImage& icon : icons) {
        images.push_back(iconImageData(icon));
        out << quint8(icon.indexed.width() % 256) << quint8(icon.indexed.height() % 256)
            << quint8(icon.paletteSize % 256) << quint8(0) << quint16(1)
            << quint16(icon.bitsPerPixel) << quint32(images.back().size()) << offset;
        offset += static_cast<quint32>(images.back().size());
    }
    for (const QByteArray& image : images) {
        out.writeRawData(image.constData(), static_cast<int>(image.size()));
    }
    return file;
}

// The large icon as a handful of shapes on a 32-unit grid, matching the pixel art.
struct Shape {
    enum Kind { Box, Line };
    Kind kind;
    QRectF rect; // for a line: from top-left to bottom-right (or bottom-left to top-right
                 // when the height is negative)
    qreal radius;
    QColor fill; // invalid: no fill
    QColor stroke;
    qreal strokeWidth;
};

const std::vector<Shape>& vectorIcon() {
    const QColor none;
    const QColor outline(0x1b, 0x26, 0x33);
    static const std::vector<Shape> shapes = {
        {Shape::Box, QRectF(2.5, 4.5, 29, 25), 2, QColor(0, 0, 0, 60), none, 0},
        {Shape::Box, QRectF(1.5, 3.5, 29, 25), 1.5, QColor(0xff, 0xff, 0xff), outline, 1},
        {Shape::Box, QRectF(2, 4, 28, 7), 1, QColor(0x25, 0x63, 0xc4), none, 0},
        {Shape::Box, QRectF(2, 10, 28, 1), 0, QColor(0x25, 0x63, 0xc4), none, 0},
        {Shape::Box, QRectF(2, 11, 28, 1), 0, outline, none, 0},
        {Shape::Box, QRectF(4, 6.75, 10, 1.5), 0.75, QColor(0xdd, 0xe8, 0xf8), none, 0},
        {Shape::Box, QRectF(23.5, 5.5, 5, 4), 0.75, QColor(0xe2, 0x3b, 0x3b), outline, 0.6},
        {Shape::Line, QRectF(25, 6.5, 2, 2), 0, none, QColor(0xff, 0xff, 0xff), 0.7},
        {Shape::Line, QRectF(25, 8.5, 2, -2), 0, none, QColor(0xff, 0xff, 0xff), 0.7},
        {Shape::Box, QRectF(2, 12, 28, 2), 0, QColor(0xdf, 0xe4, 0xea), none, 0},
        {Shape::Box, QRectF(5, 16.75, 18, 1.5), 0.75, QColor(0xa9, 0xb3, 0xbf), none, 0},
        {Shape::Box, QRectF(5, 19.75, 14, 1.5), 0.75, QColor(0xa9, 0xb3, 0xbf), none, 0},
        {Shape::Box, QRectF(5, 22.75, 20, 1.5), 0.75, QColor(0xa9, 0xb3, 0xbf), none, 0},
    };
    return shapes;
}

QImage renderVectorIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    for (const Shape& s : vectorIcon()) {
        if (s.kind == Shape::Line) {
            p.setPen(QPen(s.stroke, s.strokeWidth, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(s.rect.topLeft(), s.rect.bottomRight());
            continue;
        }
        p.setPen(s.stroke.isValid() ? QPen(s.stroke, s.strokeWidth) : QPen(Qt::NoPen));
        p.setBrush(s.fill.isValid() ? QBrush(s.fill) : QBrush(Qt::NoBrush));
        p.drawRoundedRect(s.rect, s.radius, s.radius);
    }
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QString svgColour(const QColor& colour, const char* attribute) {
    QString text =
        QStringLiteral(" %1=\"%2\"").arg(QLatin1String(attribute), colour.name(QColor::HexRgb));
    if (colour.alpha() < 255) {
        text += QStringLiteral(" %1-opacity=\"%2\"")
                    .arg(QLatin1String(attribute))
                    .arg(colour.alphaF(), 0, 'g', 3);
    }
    return text;
}

QByteArray vectorIconSvg() {
    QString svg;
    QTextStream out(&svg);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\""
        << " viewBox=\"0 0 32 32\">\n";
    for (const Shape& s : vectorIcon()) {
        const QRectF& r = s.rect;
        if (s.kind == Shape::Line) {
            out << "  <line x1=\"" << r.left() << "\" y1=\"" << r.top() << "\" x2=\"" << r.right()
                << "\" y2=\"" << r.bottom() << "\"" << svgColour(s.stroke, "stroke")
                << " stroke-width=\"" << s.strokeWidth << "\" stroke-linecap=\"round\"/>\n";
            continue;
        }
        out << "  <rect x=\"" << r.x() << "\" y=\"" << r.y() << "\" width=\"" << r.width()
            << "\" height=\"" << r.height() << "\"";
        if (s.radius > 0) {
            out << " rx=\"" << s.radius << "\"";
        }
        out << (s.fill.isValid() ? svgColour(s.fill, "fill") : QStringLiteral(" fill=\"none\""));
        if (s.stroke.isValid()) {
            out << svgColour(s.stroke, "stroke") << " stroke-width=\"" << s.strokeWidth << "\"";
        }
        out << "/>\n";
    }
    out << "</svg>\n";
    out.flush();
    return svg.toUtf8();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);

    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.exists()) {
        std::fprintf(stderr, "folder %s does not exist\n", argv[1]);
        return 2;
    }
    const QFontInfo font(boldFont(12));
    if (font.family() != textFamily || !font.bold()) {
        std::fprintf(stderr, "font %s Bold is missing (install fonts-liberation2)\n",
                     qPrintable(textFamily));
        return 1;
    }

    const QImage icon32 = quantise(marevo::drawWindowIcon(32), vgaPalette);
    const QImage icon16 = quantise(marevo::drawWindowIcon(16), vgaPalette);
    const QImage mono32 = quantise(marevo::drawWindowIcon(32, marevo::kMonoIcon), monoPalette);

    Output out(dir);
    out.jpeg(drawBanner(), QStringLiteral("banner.jpg"));
    out.jpeg(drawEmblem(), QStringLiteral("emblem.jpg"));
    out.bytes(iconFile({{mono32, 2, 1}, {icon32, 16, 4}, {icon16, 16, 4}}),
              QStringLiteral("marevo.ico"));
    out.png(icon16, QStringLiteral("icon-16.png"));
    out.png(icon32, QStringLiteral("icon-32.png"));
    for (const int size : {48, 64, 128, 256}) {
        out.png(renderVectorIcon(size), QStringLiteral("icon-%1.png").arg(size));
    }
    out.bytes(vectorIconSvg(), QStringLiteral("icon.svg"));
    return out.ok() ? 0 : 1;
}

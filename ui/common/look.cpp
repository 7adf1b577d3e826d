#include "ui/common/look.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace marevo {

namespace {

// The windows are designed in "MS Sans Serif". Where Qt does not list it (it is
// a bitmap font on Windows and under Wine), the first installed of its
// substitutes stands in: Microsoft Sans Serif, its scalable twin on Windows;
// Liberation Sans, whose widths fit every caption into its box as laid out;
// then Arimo, Arial, Helvetica; failing all, the style hint picks any
// sans-serif. Resolved once here, so that no control pays for looking up a
// missing face.
const QString& designFamily() {
    static const QString family = [] {
        QString design = QStringLiteral("MS Sans Serif");
        QFont::insertSubstitutions(design,
                                   {QStringLiteral("Microsoft Sans Serif"),
                                    QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                    QStringLiteral("Arial"), QStringLiteral("Helvetica")});
        const QStringList installed = QFontDatabase::families();
        if (installed.contains(design, Qt::CaseInsensitive)) {
            return design;
        }
        for (const QString& substitute : QFont::substitutes(design)) {
            if (installed.contains(substitute, Qt::CaseInsensitive)) {
                return substitute;
            }
        }
        return design;
    }();
    return family;
}

// On Windows "MS Sans Serif" is a bitmap face without a bold of its own, and
// Wine draws its bold as regular: bold text takes the first installed of its
// scalable substitutes there.
const QString& boldFamily() {
#ifdef Q_OS_WIN
    static const QString family = [] {
        const QString& design = designFamily();
        const QStringList installed = QFontDatabase::families();
        for (const QString& substitute : QFont::substitutes(design)) {
            if (installed.contains(substitute, Qt::CaseInsensitive)) {
                return substitute;
            }
        }
        return design;
    }();
    return family;
#else
    return designFamily();
#endif
}

} // namespace

QFont designFont(FontDesign design) {
    QFont font(design.bold ? boldFamily() : designFamily());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(design.points);
    font.setWeight(design.bold ? QFont::Bold : QFont::Normal);
    return font;
}

void applyWindowLook(QWidget* window, QSize clientSize) {
    window->setFixedSize(clientSize);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, kWindowColour);
    window->setPalette(palette);
    window->setFont(designFont({}));
}

void applyLabelLook(QLabel* label, Qt::Alignment horizontal) {
    label->setAlignment(horizontal | Qt::AlignTop);
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::ButtonText);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
}

} // namespace marevo

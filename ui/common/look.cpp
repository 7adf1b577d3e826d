#include "ui/common/look.h"

#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace marevo {

namespace {

const QString& designFamily() {
    static const QString family = [] {
        QString name = QStringLiteral("MS Sans Serif");
        // Liberation Sans first: its widths fit every caption into its box as laid
        // out. After the named faces, the style hint picks any sans-serif.
        QFont::insertSubstitutions(name,
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                    QStringLiteral("Arial"), QStringLiteral("Helvetica")});
        return name;
    }();
    return family;
}

} // namespace

QFont designFont(FontSpec spec) {
    QFont font(designFamily());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(spec.points);
    font.setWeight(spec.bold ? QFont::Bold : QFont::Normal);
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

#pragma once

#include <QColor>
#include <QFont>

#include <initializer_list>

class QLabel;
class QWidget;

namespace marevo {

// Light cyan, the background of both windows.
inline constexpr QColor kWindowColour{192, 255, 255};

// A font as the windows are designed: "MS Sans Serif" at a size in points,
// regular (400) or bold (700). Where the system has no "MS Sans Serif", a
// registered substitute with fitting widths stands in (see the .cpp).
struct FontDesign {
    qreal points = 8.25;
    bool bold = false;
};

QFont designFont(FontDesign design);

// Gives a top-level window its fixed client size, light cyan background and font.
void applyWindowLook(QWidget* window, QSize clientSize);

// A label as the windows use it: transparent, fixed size, text at the top of its
// box wrapped at blanks, clipped to the box, in the button-text colour, plain
// text that reacts to no click.
void applyLabelLook(QLabel* label, Qt::Alignment horizontal);

// What a text or a line needs to read on its fill: the WCAG 2 contrast ratios for text
// and for graphics.
inline constexpr double kTextContrast = 4.5;
inline constexpr double kLineContrast = 3.0;

// Fixes a widget's foreground colour, in each colour group, to the colour scheme's where that
// reaches the contrast against every fixed fill it borders, and to black where it does not.
void keepReadable(QWidget* widget, std::initializer_list<QColor> fills, double contrast);

} // namespace marevo

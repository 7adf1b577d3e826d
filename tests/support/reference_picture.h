#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

class QWidget;

namespace marevo::testing {

// Renders a shown window at 96 dpi and compares it with a committed reference
// PNG in tests/references, allowing for small antialiasing differences. On a
// mismatch the rendering and a difference image are kept next to the test's
// working directory and the check fails. With MAREVO_UPDATE_REFERENCES=1 in the
// environment the reference is written instead. Rendered at a higher device
// pixel ratio, the window is compared with the reference at a quarter of its size. What lies
// within the controls left out is not compared.
//
// Returns an empty string when the pictures match, otherwise what differs.
QString compareWithReference(QWidget* window, const QString& referenceName,
                             qreal devicePixelRatio = 1, const QList<QWidget*>& leftOut = {});

// Windows rasterises text with other hinting: there only the size is compared.
#ifdef Q_OS_WIN
constexpr bool kPixelsCompared = false;
#else
constexpr bool kPixelsCompared = true;
#endif

// Makes rendering repeatable: Fusion style, a steady text cursor.
void useRepeatableRendering();

} // namespace marevo::testing

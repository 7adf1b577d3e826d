#pragma once

#include <QImage>

namespace marevo {

// The application icon at a multiple of 16 pixels, on a transparent ground: the
// picture of resources/icon.svg, drawn here because decoding a picture file at
// start-up would make Qt load its image plugins. The test of the main window
// holds the two against each other.
QImage drawWindowIcon(int size);

} // namespace marevo

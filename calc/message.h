#pragma once

#include <QString>

namespace marevo {

// A message the window shows in a box: its title and its text.
struct Message {
    QString title;
    QString text;
};

} // namespace marevo

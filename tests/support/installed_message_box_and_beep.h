#pragma once

#include "ui/common/message_box_and_beep.h"

namespace marevo::testing {

// A replacement for the message boxes and the beep, installed for its lifetime.
class InstalledMessageBoxAndBeep : public MessageBoxAndBeep {
public:
    InstalledMessageBoxAndBeep() { install(this); }
    ~InstalledMessageBoxAndBeep() override { install(nullptr); }
    InstalledMessageBoxAndBeep(const InstalledMessageBoxAndBeep&) = delete;
    InstalledMessageBoxAndBeep& operator=(const InstalledMessageBoxAndBeep&) = delete;
};

} // namespace marevo::testing

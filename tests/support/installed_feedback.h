#pragma once

#include "ui/common/feedback.h"

namespace marevo::testing {

// A replacement for the message boxes and the beep, installed for its lifetime.
class InstalledFeedback : public Feedback {
public:
    InstalledFeedback() { install(this); }
    ~InstalledFeedback() override { install(nullptr); }
    InstalledFeedback(const InstalledFeedback&) = delete;
    InstalledFeedback& operator=(const InstalledFeedback&) = delete;
};

} // namespace marevo::testing

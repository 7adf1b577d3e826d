#pragma once

namespace marevo::testing {

// The shown windows that keep the application running by Qt's rule: it ends
// when the last of them closes.
int windowsKeepingTheProgramRunning();

} // namespace marevo::testing

// The program's start and end: single instance, skin, main window, message loop.
#pragma once

#include "ui/device_page.h"

namespace ms1 {

inline constexpr int kExitDone = 0;
// Another copy runs; it was asked to come forward.
inline constexpr int kExitAnotherCopyRuns = 1;
// The single-instance lock could not be taken for another reason (the
// runtime folder cannot be written, ...); the reason went to standard error.
inline constexpr int kExitNoInstanceLock = 2;
// Another copy holds the lock but neither came forward nor ended in time (it
// may hang); said on standard error.
inline constexpr int kExitAnotherCopyStuck = 3;

int RunApplication(int argc, char** argv, const DevicePageFactory& makePage);

}  // namespace ms1

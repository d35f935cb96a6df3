// The program's start and end: single instance, skin, main window, message loop.
#pragma once

#include "ui/device_page.h"

namespace ms1 {

// Exit code 1 when another copy runs (it was asked to come forward), else 0.
int RunApplication(int argc, char** argv, const DevicePageFactory& makePage);

}  // namespace ms1

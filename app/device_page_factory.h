// Makes the device page of the MS_1. Null while no device page is linked in:
// the window then runs without a device.
#pragma once

#include "ui/device_page.h"

namespace ms1 {
std::unique_ptr<DevicePage> CreateDevicePage();
}

// The mouse's event reports as the driver reads them from its hidraw node.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "model/protocol/events.h"

namespace ms1::hiddriver {

// None for a report too short to hold an event.
std::optional<DeviceEvent> ParseEventReport(const uint8_t* data, std::size_t size);

}  // namespace ms1::hiddriver

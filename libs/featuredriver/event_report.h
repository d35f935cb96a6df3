// The mouse's event reports: a 16-bit event code and a 16-bit value, both
// little-endian, in the first four bytes (as a Bluetooth notification carries them).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace ms1::hiddriver {

struct DeviceEvent {
  uint16_t code;
  uint16_t value;
  bool operator==(const DeviceEvent&) const = default;
};

// None for a report too short to hold an event.
std::optional<DeviceEvent> ParseEventReport(const uint8_t* data, std::size_t size);

}  // namespace ms1::hiddriver

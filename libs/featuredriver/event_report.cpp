#include "libs/featuredriver/event_report.h"

namespace ms1::hiddriver {

std::optional<DeviceEvent> ParseEventReport(const uint8_t* data, std::size_t size) {
  if (!data || size < 4) return std::nullopt;
  return DeviceEvent{static_cast<uint16_t>(data[0] | data[1] << 8),
                     static_cast<uint16_t>(data[2] | data[3] << 8)};
}

}  // namespace ms1::hiddriver

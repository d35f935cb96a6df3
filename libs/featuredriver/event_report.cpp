#include "libs/featuredriver/event_report.h"

namespace ms1::hiddriver {

std::optional<DeviceEvent> ParseEventReport(const uint8_t* data, std::size_t size) {
  if (!data) return std::nullopt;
  return DecodeDeviceEvent({data, size});
}

}  // namespace ms1::hiddriver

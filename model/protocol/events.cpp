#include "model/protocol/events.h"

namespace ms1 {

namespace {

uint16_t LittleEndian16(uint8_t low, uint8_t high) {
  return static_cast<uint16_t>(low | high << 8);
}

}  // namespace

std::optional<DeviceEvent> DecodeDeviceEvent(std::span<const uint8_t> bytes) {
  if (bytes.size() < kEventBytes) return std::nullopt;
  return DeviceEvent{LittleEndian16(bytes[0], bytes[1]), LittleEndian16(bytes[2], bytes[3])};
}

}  // namespace ms1

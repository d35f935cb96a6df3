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

std::array<uint8_t, kEventBytes> EncodeDeviceEvent(DeviceEvent e) {
  return {static_cast<uint8_t>(e.code & 0xFF), static_cast<uint8_t>(e.code >> 8),
          static_cast<uint8_t>(e.value & 0xFF), static_cast<uint8_t>(e.value >> 8)};
}

}  // namespace ms1

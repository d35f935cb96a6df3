// The mouse's own events: a 16-bit code and a 16-bit value. The driver's input
// reports and the Bluetooth LE notifications both carry them little-endian in
// their first four bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace ms1 {

namespace event {
inline constexpr uint16_t kDpiLevel = 0x1000;     // value 1..8: level number
inline constexpr uint16_t kPollingRate = 0x2000;  // value 1..8
inline constexpr uint16_t kConfigChanged = 0x3200;
inline constexpr uint16_t kStatus = 0x4010;       // low byte awake flag, high byte battery tenths
inline constexpr uint16_t kAcknowledge = 0x5010;  // low byte 0: accepted
inline constexpr uint16_t kBattery = 0x6000;      // value 1..10: battery tenths
inline constexpr uint16_t kNothing = 0x7000;
inline constexpr uint16_t kMode = 0x8000;  // value 0..4
// Data messages with codes in this range are device events.
inline constexpr uint16_t kFirstDeviceCode = 0x1000;
inline constexpr uint16_t kLastDeviceCode = 0x9000;
}  // namespace event

struct DeviceEvent {
  uint16_t code = 0;
  uint16_t value = 0;
  bool operator==(const DeviceEvent&) const = default;
};

// Status value: the awake flag in the low byte (0 = asleep), the battery
// level in tenths in the high byte.
constexpr bool StatusAwake(uint16_t value) {
  return (value & 0xFF) != 0;
}
constexpr unsigned StatusBatteryTenths(uint16_t value) {
  return value >> 8;
}
constexpr uint16_t StatusValue(unsigned battery_tenths, bool awake) {
  return static_cast<uint16_t>(battery_tenths << 8 | (awake ? 1u : 0u));
}

// Battery levels outside 1..10 tenths carry no level.
constexpr bool IsBatteryLevel(unsigned tenths) {
  return tenths >= 1 && tenths <= 10;
}

// Acknowledgement value: the low byte is 0 when the report was accepted.
inline constexpr uint16_t kAckAccepted = 0;
inline constexpr uint16_t kAckRefused = 1;
constexpr bool AcknowledgeAccepted(uint16_t value) {
  return (value & 0xFF) == 0;
}

inline constexpr std::size_t kEventBytes = 4;

// Code and value from the first four bytes; nothing when fewer arrived.
std::optional<DeviceEvent> DecodeDeviceEvent(std::span<const uint8_t> bytes);
// The four bytes as the mouse sends them.
std::array<uint8_t, kEventBytes> EncodeDeviceEvent(DeviceEvent e);

}  // namespace ms1

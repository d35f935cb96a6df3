// The mouse's own events: a 16-bit code and a 16-bit value, from the driver
// libraries' data messages or from Bluetooth LE notifications.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace ms1 {

namespace event {
inline constexpr uint16_t kDpiLevel = 0x1000;       // value 1..8: level number
inline constexpr uint16_t kPollingRate = 0x2000;    // value 1..8
inline constexpr uint16_t kConfigChanged = 0x3200;
inline constexpr uint16_t kStatus = 0x4010;         // low byte awake flag, high byte battery tenths
inline constexpr uint16_t kAcknowledge = 0x5010;    // low byte 0: accepted
inline constexpr uint16_t kBattery = 0x6000;        // value 1..10: battery tenths
inline constexpr uint16_t kNothing = 0x7000;
inline constexpr uint16_t kMode = 0x8000;           // value 0..4
// Plug messages are handed on as this code: value 1 arrived, 2 removed.
inline constexpr uint16_t kPlug = 0x7F00;
inline constexpr uint16_t kPlugArrived = 1;
inline constexpr uint16_t kPlugRemoved = 2;
// Data messages with codes in this range are device events.
inline constexpr uint16_t kFirstDeviceCode = 0x1000;
inline constexpr uint16_t kLastDeviceCode = 0x9000;
}  // namespace event

struct DeviceEvent {
  uint16_t code = 0;
  uint16_t value = 0;
  bool operator==(const DeviceEvent&) const = default;
};

// A plug message's wParam as a link event: 1 arrived, 0 removed, else nothing.
DeviceEvent PlugEvent(uintptr_t wParam);
// A data message as a link event: the low 16 bits of both parameters.
DeviceEvent DataEvent(uintptr_t wParam, intptr_t lParam);

// A Bluetooth LE notification carries code and value little-endian in its
// first four bytes. Shorter values carry no event.
std::optional<DeviceEvent> ParseBluetoothNotification(std::span<const uint8_t> data);

// The polling-rate event reports the report interval in milliseconds (1, 2, 4
// or 8, as the polling-rate report sends it). Other values 1..8 round down to
// the nearest of those. Returns the polling_rate index 0..3; nothing for
// values outside 1..8.
std::optional<int32_t> PollingIndexForEvent(uint16_t value);

// A short readable description, e.g. "dpi level 3", "battery 70% awake".
std::string DescribeDeviceEvent(DeviceEvent e);

}  // namespace ms1

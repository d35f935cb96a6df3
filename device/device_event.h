// The mouse's own events as the program receives them: the driver libraries'
// plug and data messages and Bluetooth LE notifications, each made a
// (code, value) event. The codes themselves are the protocol's.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "model/protocol/events.h"
#include "model/protocol/polling_rate.h"

namespace ms1 {

namespace event {
// Plug messages are handed on as this code: value 1 arrived, 2 removed.
inline constexpr uint16_t kPlug = 0x7F00;
inline constexpr uint16_t kPlugArrived = 1;
inline constexpr uint16_t kPlugRemoved = 2;
}  // namespace event

// A plug message's wParam as a link event: 1 arrived, 0 removed, else nothing.
DeviceEvent PlugEvent(uintptr_t wParam);
// A data message as a link event: the low 16 bits of both parameters.
DeviceEvent DataEvent(uintptr_t wParam, intptr_t lParam);

// A Bluetooth LE notification carries code and value little-endian in its
// first four bytes. Shorter values carry no event.
std::optional<DeviceEvent> ParseBluetoothNotification(std::span<const uint8_t> data);

// A short readable description, e.g. "dpi level 3", "battery 70% awake".
std::string DescribeDeviceEvent(DeviceEvent e);

}  // namespace ms1

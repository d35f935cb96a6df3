#include "device/device_event.h"

#include <cstdio>

namespace ms1 {

DeviceEvent PlugEvent(uintptr_t wParam) {
  const uint16_t value = wParam == 1 ? event::kPlugArrived : wParam == 0 ? event::kPlugRemoved : 0;
  return {event::kPlug, value};
}

DeviceEvent DataEvent(uintptr_t wParam, intptr_t lParam) {
  return {static_cast<uint16_t>(wParam & 0xFFFF),
          static_cast<uint16_t>(static_cast<uintptr_t>(lParam) & 0xFFFF)};
}

std::optional<DeviceEvent> ParseBluetoothNotification(std::span<const uint8_t> data) {
  if (data.size() < 4) return std::nullopt;
  return DeviceEvent{static_cast<uint16_t>(data[0] | (data[1] << 8)),
                     static_cast<uint16_t>(data[2] | (data[3] << 8))};
}

std::optional<int32_t> PollingIndexForEvent(uint16_t value) {
  if (value < 1 || value > 8) return std::nullopt;
  if (value >= 8) return 0;  // 125 Hz
  if (value >= 4) return 1;  // 250 Hz
  if (value >= 2) return 2;  // 500 Hz
  return 3;                  // 1000 Hz
}

std::string DescribeDeviceEvent(DeviceEvent e) {
  char text[64];
  const unsigned low = e.value & 0xFF;
  const unsigned high = e.value >> 8;
  switch (e.code) {
    case event::kDpiLevel:
      std::snprintf(text, sizeof text, "dpi level %u", e.value);
      break;
    case event::kPollingRate:
      std::snprintf(text, sizeof text, "polling rate %u", e.value);
      break;
    case event::kConfigChanged:
      std::snprintf(text, sizeof text, "configuration changed");
      break;
    case event::kStatus:
      if (high >= 1 && high <= 10) {
        std::snprintf(text, sizeof text, "battery %u%% %s", high * 10, low ? "awake" : "asleep");
      } else {
        std::snprintf(text, sizeof text, "status %s", low ? "awake" : "asleep");
      }
      break;
    case event::kAcknowledge:
      std::snprintf(text, sizeof text, "ack %s", low == 0 ? "accepted" : "refused");
      break;
    case event::kBattery:
      std::snprintf(text, sizeof text, "battery level %u", e.value);
      break;
    case event::kMode:
      std::snprintf(text, sizeof text, "mode %u", e.value);
      break;
    case event::kPlug:
      std::snprintf(text, sizeof text, "%s", e.value == event::kPlugArrived   ? "plugged"
                                             : e.value == event::kPlugRemoved ? "unplugged"
                                                                              : "plug ?");
      break;
    default:
      std::snprintf(text, sizeof text, "event %04X value %04X", e.code, e.value);
  }
  return text;
}

}  // namespace ms1

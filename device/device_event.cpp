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
  return DecodeDeviceEvent(data);
}

std::string DescribeDeviceEvent(DeviceEvent e) {
  char text[64];
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
    case event::kStatus: {
      const char* awake = StatusAwake(e.value) ? "awake" : "asleep";
      const unsigned battery = StatusBatteryTenths(e.value);
      if (IsBatteryLevel(battery)) {
        std::snprintf(text, sizeof text, "battery %u%% %s", battery * 10, awake);
      } else {
        std::snprintf(text, sizeof text, "status %s", awake);
      }
      break;
    }
    case event::kAcknowledge:
      std::snprintf(text, sizeof text, "ack %s",
                    AcknowledgeAccepted(e.value) ? "accepted" : "refused");
      break;
    case event::kBattery:
      std::snprintf(text, sizeof text, "battery level %u", e.value);
      break;
    case event::kMode:
      std::snprintf(text, sizeof text, "mode %u", e.value);
      break;
    case event::kPlug:
      std::snprintf(text, sizeof text, "%s",
                    e.value == event::kPlugArrived   ? "plugged"
                    : e.value == event::kPlugRemoved ? "unplugged"
                                                     : "plug ?");
      break;
    default:
      std::snprintf(text, sizeof text, "event %04X value %04X", e.code, e.value);
  }
  return text;
}

}  // namespace ms1

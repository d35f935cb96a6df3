// The 16-bit event codes the mouse reports on its own, and the code a plug
// message becomes on its way to the link handlers.
#pragma once

#include <cstdint>

namespace ms1::event {

inline constexpr uint16_t kDpiLevel = 0x1000;
inline constexpr uint16_t kPollingRate = 0x2000;
inline constexpr uint16_t kConfigurationChanged = 0x3200;
inline constexpr uint16_t kStatus = 0x4010;           // low byte awake flag, high byte battery
inline constexpr uint16_t kAcknowledgement = 0x5010;  // low byte 0 = accepted
inline constexpr uint16_t kBattery = 0x6000;
inline constexpr uint16_t kNone = 0x7000;
inline constexpr uint16_t kModeSwitch = 0x8000;
inline constexpr uint16_t kPlug = 0x7F00;  // value 1 arrived, 2 removed

// A data message carries the code in wParam and the value in lParam.
inline uint16_t CodeOf(uintptr_t wParam) {
  return static_cast<uint16_t>(wParam & 0xFFFF);
}
inline uint16_t ValueOf(intptr_t lParam) {
  return static_cast<uint16_t>(lParam & 0xFFFF);
}

}  // namespace ms1::event

// Every private message, thread message and timer id the program uses. Their
// numbers are shared with the driver libraries and the input hook.
#pragma once

#include <chrono>
#include <cstdint>

namespace ms1 {

namespace msg {
inline constexpr uint32_t kTrayCallback = 1025;
inline constexpr uint32_t kMenuClick = 1027;
inline constexpr uint32_t kHookEvent = 1034;           // HookEventMessage
inline constexpr uint32_t kShowInstance = 1037;        // WM_SHOW_INSTANCE
inline constexpr uint32_t kDevicePresence = 1128;      // WM_DEVICE_PRESENCE
inline constexpr uint32_t kShowDpi = 1129;             // WM_SHOW_DPI
inline constexpr uint32_t kReceiverEvent = 1325;       // WM_RECEIVER_EVENT
inline constexpr uint32_t kReceiverPlug = 1326;        // WM_RECEIVER_PLUG
inline constexpr uint32_t kWiredEvent = 1327;          // WM_WIRED_EVENT
inline constexpr uint32_t kWiredPlug = 1328;           // WM_WIRED_PLUG
inline constexpr uint32_t kApplyRequest = 1329;        // WM_APPLY_REQUEST
// Reach the main window from nobody in the program; consumed without effect.
inline constexpr uint32_t kIgnored[] = {1130, 1261, 5121};
// Result of a profile-store save, from any thread: wParam 1 saved, 0 failed.
// The number is unused by the drivers, the hook and the table above.
inline constexpr uint32_t kStoreSaveResult = 1140;
}  // namespace msg

// Thread message to the page worker: run one apply.
inline constexpr uint32_t TM_APPLY = 1648;

namespace timer {
inline constexpr int kApplyDebounce = 43;     // TIMER_APPLY_DEBOUNCE
inline constexpr int kDpiIndicator = 52;      // TIMER_DPI_INDICATOR
inline constexpr int kChargeAnimation = 53;   // TIMER_CHARGE_ANIMATION
inline constexpr int kReceiverHeartbeat = 100;  // TIMER_RECEIVER_HEARTBEAT
}  // namespace timer

namespace period {
using std::chrono::milliseconds;
inline constexpr milliseconds kDebounceSlider{500};
inline constexpr milliseconds kDebounceLighting{200};
inline constexpr milliseconds kDpiIndicator{2000};
inline constexpr milliseconds kChargeAnimation{30};
inline constexpr milliseconds kReceiverHeartbeat{6000};
}  // namespace period

// The ids the two driver libraries are given.
namespace link_ids {
inline constexpr int32_t kVendor = 0x1D57;
inline constexpr int32_t kWiredProduct = 0xFA61;
inline constexpr int32_t kReceiverProduct = 0xFA60;
inline constexpr uint16_t kBluetoothVendor = 0x045E;
inline constexpr uint16_t kBluetoothProduct = 0x0040;
}  // namespace link_ids

}  // namespace ms1

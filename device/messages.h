// Every private message, thread message and timer id the program uses. The
// numbers the driver libraries and the input hook post come from their C
// interfaces.
#pragma once

#include <chrono>
#include <cstdint>

#include "libs/abi/ms1_feature_driver.h"
#include "libs/abi/ms1_input_hook.h"
#include "model/protocol/link_ids.h"

namespace ms1 {

namespace msg {
inline constexpr uint32_t kTrayCallback = 1025;
inline constexpr uint32_t kMenuClick = 1027;
inline constexpr uint32_t kHookEvent = MS1_HOOK_EVENT_MESSAGE;
inline constexpr uint32_t kShowInstance = 1037;
inline constexpr uint32_t kDevicePresence = 1128;
inline constexpr uint32_t kShowDpi = 1129;
inline constexpr uint32_t kReceiverEvent = MS1_RECEIVER_EVENT_MESSAGE;
inline constexpr uint32_t kReceiverPlug = MS1_RECEIVER_PLUG_MESSAGE;
inline constexpr uint32_t kWiredEvent = MS1_WIRED_EVENT_MESSAGE;
inline constexpr uint32_t kWiredPlug = MS1_WIRED_PLUG_MESSAGE;
// Reach the main window from nobody in the program; consumed without effect.
inline constexpr uint32_t kIgnored[] = {1130, 1261, 5121};
// Result of a store save, from any thread: wParam 1 saved, 0 failed; lParam
// the store (StoreKind); the text says why it failed. The number is unused by
// the drivers, the hook and the table above.
inline constexpr uint32_t kStoreSaveResult = 1140;

// The driver libraries' plug and data messages, by link.
constexpr bool IsWiredMessage(uint32_t message) {
  return message == kWiredEvent || message == kWiredPlug;
}
constexpr bool IsReceiverMessage(uint32_t message) {
  return message == kReceiverEvent || message == kReceiverPlug;
}
constexpr bool IsLinkMessage(uint32_t message) {
  return IsWiredMessage(message) || IsReceiverMessage(message);
}
constexpr bool IsPlugMessage(uint32_t message) {
  return message == kWiredPlug || message == kReceiverPlug;
}
}  // namespace msg

// Thread message to the page worker: run one apply.
inline constexpr uint32_t TM_APPLY = 1648;

namespace timer {
inline constexpr int kDpiIndicator = 52;
inline constexpr int kChargeAnimation = 53;
inline constexpr int kReceiverHeartbeat = 100;
}  // namespace timer

namespace period {
using std::chrono::milliseconds;
// How long the page lets an edit of a slider, or of the lighting effect,
// rest before it asks for an apply: a run of edits is sent once.
inline constexpr milliseconds kDebounceSlider{500};
inline constexpr milliseconds kDebounceLighting{200};
inline constexpr milliseconds kDpiIndicator{2000};
inline constexpr milliseconds kChargeAnimation{30};
inline constexpr milliseconds kReceiverHeartbeat{6000};
}  // namespace period

}  // namespace ms1

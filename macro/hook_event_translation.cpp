#include "macro/hook_event_translation.h"

#include "libs/abi/ms1_input_hook.h"
#include "macro/mouse_buttons.h"
#include "model/records.h"

namespace ms1 {

namespace {

struct MouseMessage {
  uintptr_t message;
  intptr_t x_button;  // 0: any
  uint8_t key;
  uint8_t state;
};

constexpr MouseMessage kMouseMessages[] = {
    {MS1_HOOK_LEFT_DOWN, 0, kMouseLeftCode, kActionPress},
    {MS1_HOOK_LEFT_UP, 0, kMouseLeftCode, kActionRelease},
    {MS1_HOOK_RIGHT_DOWN, 0, kMouseRightCode, kActionPress},
    {MS1_HOOK_RIGHT_UP, 0, kMouseRightCode, kActionRelease},
    {MS1_HOOK_MIDDLE_DOWN, 0, kMouseMiddleCode, kActionPress},
    {MS1_HOOK_MIDDLE_UP, 0, kMouseMiddleCode, kActionRelease},
    {MS1_HOOK_X_DOWN, MS1_HOOK_X_BACK, kMouseBackCode, kActionPress},
    {MS1_HOOK_X_DOWN, MS1_HOOK_X_FORWARD, kMouseForwardCode, kActionPress},
    {MS1_HOOK_X_UP, MS1_HOOK_X_BACK, kMouseBackCode, kActionRelease},
    {MS1_HOOK_X_UP, MS1_HOOK_X_FORWARD, kMouseForwardCode, kActionRelease},
};

}  // namespace

uint8_t KeyCodeOfVirtualKey(uintptr_t virtual_key, const VirtualKeyToUsageFn& usage_of) {
  if (!usage_of || virtual_key > UINT32_MAX) return 0;
  const UsageLookup lookup = usage_of(static_cast<uint32_t>(virtual_key));
  if (!lookup.found || lookup.usage > UINT8_MAX) return 0;
  return static_cast<uint8_t>(lookup.usage);
}

TranslatedEvent TranslateHookEvent(uintptr_t first, intptr_t second,
                                   const VirtualKeyToUsageFn& usage_of) {
  for (const MouseMessage& m : kMouseMessages) {
    if (m.message == first && (m.x_button == 0 || m.x_button == second)) return {m.key, m.state};
  }
  // An X button message naming neither button falls through to the keys, as
  // any other number does.
  return {KeyCodeOfVirtualKey(first, usage_of), second == 0 ? kActionPress : kActionRelease};
}

}  // namespace ms1

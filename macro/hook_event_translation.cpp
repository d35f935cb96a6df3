#include "macro/hook_event_translation.h"

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
    {kLeftButtonDown, 0, kMouseLeftCode, kActionPress},
    {kLeftButtonUp, 0, kMouseLeftCode, kActionRelease},
    {kRightButtonDown, 0, kMouseRightCode, kActionPress},
    {kRightButtonUp, 0, kMouseRightCode, kActionRelease},
    {kMiddleButtonDown, 0, kMouseMiddleCode, kActionPress},
    {kMiddleButtonUp, 0, kMouseMiddleCode, kActionRelease},
    {kXButtonDown, 2, kMouseBackCode, kActionPress},
    {kXButtonDown, 1, kMouseForwardCode, kActionPress},
    {kXButtonUp, 2, kMouseBackCode, kActionRelease},
    {kXButtonUp, 1, kMouseForwardCode, kActionRelease},
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

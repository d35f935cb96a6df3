// What one input hook event becomes as a macro step: a mouse button from the
// mouse message numbers, else the keyboard key of the virtual-key code.
#pragma once

#include <cstdint>
#include <functional>

#include "keys/key_naming.h"

namespace ms1 {

// Virtual-key code -> HID keyboard usage; the key tables provide it.
using VirtualKeyToUsageFn = std::function<UsageLookup(uint32_t virtual_key)>;

struct TranslatedEvent {
  uint8_t key = 0;    // 0 for a key the tables do not know
  uint8_t state = 0;  // kActionPress or kActionRelease
};

// Keyboard: first = virtual key, second = 0 press, else release.
TranslatedEvent TranslateHookEvent(uintptr_t first, intptr_t second,
                                   const VirtualKeyToUsageFn& usage_of);

// The key code a virtual key is stored as; 0 when the tables do not know it
// or its usage does not fit a key code.
uint8_t KeyCodeOfVirtualKey(uintptr_t virtual_key, const VirtualKeyToUsageFn& usage_of);

}  // namespace ms1

// One event as the program receives it: the two parameters of a hook message,
// and whether it is a mouse button (which has a gate of its own).
#pragma once

#include <cstdint>

namespace ms1::inputhook {

struct HookEvent {
  bool mouse_button = false;
  uintptr_t w_param = 0;
  intptr_t l_param = 0;
  bool operator==(const HookEvent&) const = default;
};

inline constexpr intptr_t kKeyPressed = 0;
inline constexpr intptr_t kKeyReleased = 1;

}  // namespace ms1::inputhook

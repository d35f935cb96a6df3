// Which Windows mouse message an X11 pointer button becomes.
#pragma once

#include <cstdint>
#include <optional>

#include "libs/inputhook/hook_event.h"

namespace ms1::inputhook {

// X11 buttons 1..3 are left, middle and right; 8 and 9 are back and forward.
// The wheel (4..7) and any other button give nothing.
std::optional<HookEvent> ButtonEventOf(uint8_t x_button, bool pressed);

}  // namespace ms1::inputhook

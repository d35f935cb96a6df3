// What the program is told about one recorded key or button event.
#pragma once

#include <optional>

#include "libs/inputhook/hook_event.h"
#include "libs/inputhook/recorded_input.h"

namespace ms1::keylayout {
class Layout;
}

namespace ms1::inputhook {

// A key becomes the virtual key it carries in `layout` (lParam 0 press, 1
// release), a button its mouse message. Nothing for a key that carries no
// virtual key (or without a layout), for the wheel and for unknown buttons.
std::optional<HookEvent> HookEventOf(const RecordedInput& input, const keylayout::Layout* layout);

}  // namespace ms1::inputhook

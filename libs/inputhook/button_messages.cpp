#include "libs/inputhook/button_messages.h"

#include "libs/abi/ms1_input_hook.h"

namespace ms1::inputhook {
namespace {

struct ButtonMessages {
  uint32_t down;
  uint32_t up;
  intptr_t l_param;
};

std::optional<ButtonMessages> MessagesOf(uint8_t x_button) {
  switch (x_button) {
    case 1: return ButtonMessages{MS1_HOOK_LEFT_DOWN, MS1_HOOK_LEFT_UP, 0};
    case 2: return ButtonMessages{MS1_HOOK_MIDDLE_DOWN, MS1_HOOK_MIDDLE_UP, 0};
    case 3: return ButtonMessages{MS1_HOOK_RIGHT_DOWN, MS1_HOOK_RIGHT_UP, 0};
    case 8: return ButtonMessages{MS1_HOOK_X_DOWN, MS1_HOOK_X_UP, MS1_HOOK_X_BACK};
    case 9: return ButtonMessages{MS1_HOOK_X_DOWN, MS1_HOOK_X_UP, MS1_HOOK_X_FORWARD};
    default: return std::nullopt;
  }
}

}  // namespace

std::optional<HookEvent> ButtonEventOf(uint8_t x_button, bool pressed) {
  const std::optional<ButtonMessages> messages = MessagesOf(x_button);
  if (!messages) return std::nullopt;
  return HookEvent{true, pressed ? messages->down : messages->up, messages->l_param};
}

}  // namespace ms1::inputhook

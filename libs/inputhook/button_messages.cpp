#include "libs/inputhook/button_messages.h"

namespace ms1::inputhook {
namespace {

constexpr uint32_t kLeftDown = 0x201, kLeftUp = 0x202;
constexpr uint32_t kRightDown = 0x204, kRightUp = 0x205;
constexpr uint32_t kMiddleDown = 0x207, kMiddleUp = 0x208;
constexpr uint32_t kXButtonDown = 0x20B, kXButtonUp = 0x20C;

// The macro recorder names the back button Windows X button 2 and the forward
// button X button 1, the other way round from Windows' own numbering.
constexpr intptr_t kBackXButton = 2;
constexpr intptr_t kForwardXButton = 1;

struct ButtonMessages {
  uint32_t down;
  uint32_t up;
  intptr_t l_param;
};

std::optional<ButtonMessages> MessagesOf(uint8_t x_button) {
  switch (x_button) {
    case 1: return ButtonMessages{kLeftDown, kLeftUp, 0};
    case 2: return ButtonMessages{kMiddleDown, kMiddleUp, 0};
    case 3: return ButtonMessages{kRightDown, kRightUp, 0};
    case 8: return ButtonMessages{kXButtonDown, kXButtonUp, kBackXButton};
    case 9: return ButtonMessages{kXButtonDown, kXButtonUp, kForwardXButton};
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

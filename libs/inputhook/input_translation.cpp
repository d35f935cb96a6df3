#include "libs/inputhook/input_translation.h"

#include "libs/inputhook/button_messages.h"
#include "libs/keylayout/key_layout.h"

namespace ms1::inputhook {
namespace {

constexpr uint8_t kXKeyCodeOffset = 8;  // X key code = Linux key code + 8

std::optional<HookEvent> KeyEventOf(uint8_t x_key_code, bool pressed,
                                    const keylayout::Layout* layout) {
  if (layout == nullptr || x_key_code < kXKeyCodeOffset) return std::nullopt;
  const uint32_t virtual_key = layout->VirtualKeyOf(x_key_code - kXKeyCodeOffset);
  if (virtual_key == 0) return std::nullopt;
  return HookEvent{false, virtual_key, pressed ? kKeyPressed : kKeyReleased};
}

}  // namespace

std::optional<HookEvent> HookEventOf(const RecordedInput& input, const keylayout::Layout* layout) {
  using Kind = RecordedInput::Kind;
  switch (input.kind) {
    case Kind::KeyPress: return KeyEventOf(input.detail, true, layout);
    case Kind::KeyRelease: return KeyEventOf(input.detail, false, layout);
    case Kind::ButtonPress: return ButtonEventOf(input.detail, true);
    case Kind::ButtonRelease: return ButtonEventOf(input.detail, false);
  }
  return std::nullopt;
}

}  // namespace ms1::inputhook

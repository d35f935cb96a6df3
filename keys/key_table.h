// The key code: one byte naming a keyboard key by its usage ID on the HID
// Keyboard/Keypad page (0x04 A, 0x28 Enter, 0xE0 Left Control, ...), or a
// mouse button as 0xF1..0xF5. KeyTable relates it to Windows virtual keys and
// set-1 scan codes; every search runs from the first row and takes the first
// match, so the row order matters.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace ms1 {

struct KeyRow {
  uint32_t virtual_key;
  uint32_t key_code;
  uint32_t scan_code;  // 0 in rows without one
};

inline constexpr std::size_t kKeyTableRows = 112;
// Rows 0..65 (key codes 0x04..0x45) carry scan codes; the rest do not.
inline constexpr std::size_t kRowsWithScanCode = 66;

const std::array<KeyRow, kKeyTableRows>& KeyTable();

inline constexpr uint8_t kLeftButtonCode = 0xF1;
inline constexpr uint8_t kRightButtonCode = 0xF2;
inline constexpr uint8_t kMiddleButtonCode = 0xF3;
inline constexpr uint8_t kBackButtonCode = 0xF4;
inline constexpr uint8_t kForwardButtonCode = 0xF5;

// The one test every caller uses for "is this a mouse button".
constexpr bool IsMouseButtonCode(uint32_t code) {
  return code >= kLeftButtonCode && code <= kForwardButtonCode;
}

// The left and right modifier keys as Windows virtual keys, in the order of
// their key codes 0xE0..0xE7: Ctrl, Shift, Alt, Win on the left, then the same
// on the right.
inline constexpr std::array<uint32_t, 8> kModifierVirtualKeys = {0xA2, 0xA0, 0xA4, 0x5B,
                                                                 0xA3, 0xA1, 0xA5, 0x5C};
inline constexpr uint8_t kFirstModifierKeyCode = 0xE0;

// The language key of a mouse button's text; empty for other codes.
std::string_view MouseButtonLanguageKey(uint32_t code);

}  // namespace ms1

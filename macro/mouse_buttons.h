// Key codes of the mouse buttons a macro step can press, and the order in
// which the editor offers them: left, right, middle, forward, back. Forward is
// the mouse's fifth code and back its fourth, so the last two swap.
#pragma once

#include <cstdint>

#include "keys/key_table.h"

namespace ms1 {

inline constexpr uint8_t kMouseLeftCode = kLeftButtonCode;
inline constexpr uint8_t kMouseRightCode = kRightButtonCode;
inline constexpr uint8_t kMouseMiddleCode = kMiddleButtonCode;
inline constexpr uint8_t kMouseBackCode = kBackButtonCode;
inline constexpr uint8_t kMouseForwardCode = kForwardButtonCode;

// Offered item 0..4 -> key code.
inline constexpr uint8_t MouseButtonCodeOfItem(int item) {
  if (item == 3) return kMouseForwardCode;
  if (item == 4) return kMouseBackCode;
  return static_cast<uint8_t>(kMouseLeftCode + item);
}

// Key code 0xF1..0xF5 -> offered item.
inline constexpr int MouseItemOfCode(uint8_t key) {
  if (key == kMouseForwardCode) return 3;
  if (key == kMouseBackCode) return 4;
  return key - kMouseLeftCode;
}

}  // namespace ms1

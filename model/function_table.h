// What a button can do: the function codes stored in ButtonRecord, the label and
// menu item the page uses for each, and the three bytes the mouse understands.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ms1 {

using DeviceBytes = std::array<uint8_t, 3>;  // class, first parameter, second parameter

struct FunctionRow {
  uint8_t code;
  std::string_view label_key;  // empty: the page shows an empty label
  std::string_view menu_item;  // empty: no menu item assigns it
  std::optional<DeviceBytes> device_bytes;  // empty: sent as 00 00 00
};

std::span<const FunctionRow> FunctionTable();

// The device bytes of a code, from the table; 00 00 00 when it has none.
DeviceBytes DeviceBytesFor(uint8_t code);

// The label text key of a code; empty when it has none.
std::string_view LabelKeyFor(uint8_t code);

// The code a menu item assigns, its name compared without regard to case; an
// unknown item assigns code 1 (left click).
uint8_t FunctionForMenuItem(std::string_view menu_item);

}  // namespace ms1

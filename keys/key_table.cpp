#include "keys/key_table.h"

namespace ms1 {
namespace {

constexpr std::array<KeyRow, kKeyTableRows> MakeKeyTable() {
  std::array<KeyRow, kKeyTableRows> rows{};
  std::size_t n = 0;
  auto add = [&](uint32_t vk, uint32_t code, uint32_t scan) { rows[n++] = {vk, code, scan}; };
  constexpr uint32_t kLetterScans[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                         0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                         0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
  for (uint32_t i = 0; i < 26; ++i) add('A' + i, 0x04 + i, kLetterScans[i]);
  for (uint32_t i = 0; i < 10; ++i) add(i < 9 ? '1' + i : '0', 0x1E + i, 0x02 + i);
  add(0x0D, 0x28, 0x1C);  // Enter
  add(0x1B, 0x29, 0x01);  // Esc
  add(0x08, 0x2A, 0x0E);  // Backspace
  add(0x09, 0x2B, 0x0F);  // Tab
  add(0x20, 0x2C, 0x39);  // Space
  add(0xBD, 0x2D, 0x0C);  // VK_OEM_MINUS
  add(0xBB, 0x2E, 0x0D);  // VK_OEM_PLUS
  add(0xDB, 0x2F, 0x1A);  // VK_OEM_4
  add(0xDD, 0x30, 0x1B);  // VK_OEM_6
  add(0xDC, 0x31, 0x2B);  // VK_OEM_5
  add(0xBA, 0x33, 0x27);  // VK_OEM_1
  add(0xDE, 0x34, 0x28);  // VK_OEM_7
  add(0xC0, 0x35, 0x29);  // VK_OEM_3
  add(0xBC, 0x36, 0x33);  // VK_OEM_COMMA
  add(0xBE, 0x37, 0x34);  // VK_OEM_PERIOD
  add(0xBF, 0x38, 0x35);  // VK_OEM_2
  add(0xDF, 0x38, 0x35);  // VK_OEM_8: same key code, named through the row above
  add(0x14, 0x39, 0x3A);  // Caps Lock
  for (uint32_t i = 0; i < 12; ++i) add(0x70 + i, 0x3A + i, i < 10 ? 0x3B + i : 0x57 + (i - 10));
  constexpr uint32_t kNavigation[][2] = {
      {0x2C, 0x46}, {0x91, 0x47}, {0x13, 0x48}, {0x2D, 0x49}, {0x24, 0x4A}, {0x21, 0x4B},
      {0x2E, 0x4C}, {0x23, 0x4D}, {0x22, 0x4E}, {0x27, 0x4F}, {0x25, 0x50}, {0x28, 0x51},
      {0x26, 0x52}, {0x90, 0x53}, {0x6F, 0x54}, {0x6A, 0x55}, {0x6D, 0x56}, {0x6B, 0x57},
      {0x6C, 0x58}};  // Print Screen .. VK_SEPARATOR (keypad Enter)
  for (const auto& [vk, code] : kNavigation) add(vk, code, 0);
  for (uint32_t i = 0; i < 5; ++i) add(0x61 + i, 0x59 + i, 0);  // keypad 1..5
  add(0x67, 0x5F, 0);  // keypad 7 comes before 6 here; no search depends on it
  add(0x66, 0x5E, 0);
  add(0x68, 0x60, 0);
  add(0x69, 0x61, 0);
  add(0x60, 0x62, 0);  // keypad 0
  add(0x6E, 0x63, 0);  // keypad .
  add(0x5D, 0x65, 0);  // Application
  for (uint32_t i = 0; i < kModifierVirtualKeys.size(); ++i) {
    add(kModifierVirtualKeys[i], kFirstModifierKeyCode + i, 0);
  }
  for (uint32_t code = 0xF0; code <= 0xF4; ++code) add(code, code, 0);
  add(0xF7, 0xF7, 0);
  add(0xF8, 0xF8, 0);
  return rows;
}

constexpr std::array<KeyRow, kKeyTableRows> kKeyTable = MakeKeyTable();
static_assert(kKeyTable.back().virtual_key == 0xF8, "every row is filled");

}  // namespace

const std::array<KeyRow, kKeyTableRows>& KeyTable() { return kKeyTable; }

std::string_view MouseButtonLanguageKey(uint32_t code) {
  switch (code) {
    case kLeftButtonCode: return "L_Button";
    case kRightButtonCode: return "R_Button";
    case kMiddleButtonCode: return "M_Button";
    case kBackButtonCode: return "Backward_Button";
    case kForwardButtonCode: return "Forward_Button";
    default: return {};
  }
}

}  // namespace ms1

#include "libs/keylayout/us_positions.h"

#include <array>

namespace ms1::keylayout {
namespace {

struct Position {
  uint32_t linux_key;
  uint32_t virtual_key;
};

// Linux input event codes (linux/input-event-codes.h) against the Windows
// virtual keys a US keyboard gives at the same place.
constexpr Position kUsPositions[] = {
    {1, 0x1B},                                              // Esc
    {2, '1'}, {3, '2'}, {4, '3'}, {5, '4'}, {6, '5'},
    {7, '6'}, {8, '7'}, {9, '8'}, {10, '9'}, {11, '0'},
    {12, 0xBD}, {13, 0xBB}, {14, 0x08}, {15, 0x09},         // - = Backspace Tab
    {16, 'Q'}, {17, 'W'}, {18, 'E'}, {19, 'R'}, {20, 'T'},
    {21, 'Y'}, {22, 'U'}, {23, 'I'}, {24, 'O'}, {25, 'P'},
    {26, 0xDB}, {27, 0xDD}, {28, 0x0D}, {29, 0xA2},         // [ ] Enter LCtrl
    {30, 'A'}, {31, 'S'}, {32, 'D'}, {33, 'F'}, {34, 'G'},
    {35, 'H'}, {36, 'J'}, {37, 'K'}, {38, 'L'},
    {39, 0xBA}, {40, 0xDE}, {41, 0xC0}, {42, 0xA0}, {43, 0xDC},  // ; ' ` LShift backslash
    {44, 'Z'}, {45, 'X'}, {46, 'C'}, {47, 'V'}, {48, 'B'}, {49, 'N'}, {50, 'M'},
    {51, 0xBC}, {52, 0xBE}, {53, 0xBF}, {54, 0xA1},         // , . / RShift
    {55, 0x6A}, {56, 0xA4}, {57, 0x20}, {58, 0x14},         // KP* LAlt Space CapsLock
    {59, 0x70}, {60, 0x71}, {61, 0x72}, {62, 0x73}, {63, 0x74},
    {64, 0x75}, {65, 0x76}, {66, 0x77}, {67, 0x78}, {68, 0x79},  // F1..F10
    {69, 0x90}, {70, 0x91},                                 // NumLock ScrollLock
    {71, 0x67}, {72, 0x68}, {73, 0x69}, {74, 0x6D},         // KP7 KP8 KP9 KP-
    {75, 0x64}, {76, 0x65}, {77, 0x66}, {78, 0x6B},         // KP4 KP5 KP6 KP+
    {79, 0x61}, {80, 0x62}, {81, 0x63}, {82, 0x60}, {83, 0x6E},  // KP1 KP2 KP3 KP0 KP.
    {86, 0xE2},                                             // the 102nd key
    {87, 0x7A}, {88, 0x7B},                                 // F11 F12
    // Keypad Enter: Windows folds it into VK_RETURN with an extended flag that
    // the hook cannot pass on; VK_SEPARATOR keeps it apart, and the key
    // tables give it the keypad Enter key code.
    {96, 0x6C},
    {97, 0xA3}, {98, 0x6F}, {99, 0x2C}, {100, 0xA5},        // RCtrl KP/ PrintScreen RAlt
    {102, 0x24}, {103, 0x26}, {104, 0x21}, {105, 0x25},     // Home Up PageUp Left
    {106, 0x27}, {107, 0x23}, {108, 0x28}, {109, 0x22},     // Right End Down PageDown
    {110, 0x2D}, {111, 0x2E},                               // Insert Delete
    {113, 0xAD}, {114, 0xAE}, {115, 0xAF},                  // Mute VolumeDown VolumeUp
    {119, 0x13},                                            // Pause
    {125, 0x5B}, {126, 0x5C}, {127, 0x5D},                  // LWin RWin Menu
    {142, 0x5F},                                            // Sleep
    {163, 0xB0}, {164, 0xB3}, {165, 0xB1}, {166, 0xB2},     // Next PlayPause Previous Stop
    {183, 0x7C}, {184, 0x7D}, {185, 0x7E}, {186, 0x7F}, {187, 0x80}, {188, 0x81},
    {189, 0x82}, {190, 0x83}, {191, 0x84}, {192, 0x85}, {193, 0x86}, {194, 0x87},  // F13..F24
};

constexpr std::array<uint32_t, kLinuxKeyCount> MakeTable() {
  std::array<uint32_t, kLinuxKeyCount> table{};
  for (const Position& p : kUsPositions) table[p.linux_key] = p.virtual_key;
  return table;
}

constexpr std::array<uint32_t, kLinuxKeyCount> kTable = MakeTable();

}  // namespace

uint32_t UsPositionVirtualKey(uint32_t linux_key) {
  return linux_key < kLinuxKeyCount ? kTable[linux_key] : 0;
}

bool InCharacterBlock(uint32_t linux_key) {
  return (linux_key >= 2 && linux_key <= 13) || (linux_key >= 16 && linux_key <= 27) ||
         (linux_key >= 30 && linux_key <= 41) || (linux_key >= 43 && linux_key <= 53) ||
         linux_key == 86;
}

}  // namespace ms1::keylayout

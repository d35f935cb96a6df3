// The virtual key of a key event the program's own window received, the same
// code the input hook reports for that key, so that a key typed into the
// window and one seen by the hook are named and stored alike.
#pragma once

#include <cstdint>

class QKeyEvent;

namespace ms1 {

// By the key's position where the event carries an xkb key code (xcb,
// wayland and Qt's other Linux platforms: Linux key code + 8), looked up in
// the active layout; else (events made by Qt itself, which carry none) by the
// key Qt names, read as a US key. 0 for a key with no virtual key.
uint32_t VirtualKeyOfKeyEvent(const QKeyEvent& event);

}  // namespace ms1

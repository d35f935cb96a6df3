#include "keys/key_event_key.h"

#include <QKeyEvent>

#include "libs/keylayout/key_layout.h"

namespace ms1 {
namespace {

constexpr uint32_t kXkbKeyCodeOffset = 8;

struct QtKeyRow {
  int key;
  uint32_t virtual_key;
};

// Keys whose Qt code is not already their virtual key (letters, digits and
// Space are: Qt took both from ASCII).
constexpr QtKeyRow kQtKeys[] = {
    {Qt::Key_Escape, 0x1B},       {Qt::Key_Tab, 0x09},       {Qt::Key_Backtab, 0x09},
    {Qt::Key_Backspace, 0x08},    {Qt::Key_Return, 0x0D},    {Qt::Key_Enter, 0x6C},
    {Qt::Key_Insert, 0x2D},       {Qt::Key_Delete, 0x2E},    {Qt::Key_Pause, 0x13},
    {Qt::Key_Print, 0x2C},        {Qt::Key_Home, 0x24},      {Qt::Key_End, 0x23},
    {Qt::Key_Left, 0x25},         {Qt::Key_Up, 0x26},        {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},         {Qt::Key_PageUp, 0x21},    {Qt::Key_PageDown, 0x22},
    {Qt::Key_CapsLock, 0x14},     {Qt::Key_NumLock, 0x90},   {Qt::Key_ScrollLock, 0x91},
    {Qt::Key_Menu, 0x5D},         {Qt::Key_Shift, 0xA0},     {Qt::Key_Control, 0xA2},
    {Qt::Key_Alt, 0xA4},          {Qt::Key_AltGr, 0xA5},     {Qt::Key_Meta, 0x5B},
    {Qt::Key_Super_L, 0x5B},      {Qt::Key_Super_R, 0x5C},   {Qt::Key_Minus, 0xBD},
    {Qt::Key_Equal, 0xBB},        {Qt::Key_Plus, 0xBB},      {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_Backslash, 0xDC}, {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Apostrophe, 0xDE},   {Qt::Key_QuoteLeft, 0xC0}, {Qt::Key_Comma, 0xBC},
    {Qt::Key_Period, 0xBE},       {Qt::Key_Slash, 0xBF},
};

// The keypad's own keys; its digits are 0x60 + digit.
constexpr QtKeyRow kKeypadKeys[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},  {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Slash, 0x6F}, {Qt::Key_Enter, 0x6C},
};

uint32_t Find(const QtKeyRow* first, const QtKeyRow* last, int key) {
  for (; first != last; ++first) {
    if (first->key == key) return first->virtual_key;
  }
  return 0;
}

uint32_t VirtualKeyOfQtKey(int key, bool keypad) {
  if (keypad) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return 0x60 + static_cast<uint32_t>(key - Qt::Key_0);
    if (const uint32_t found = Find(std::begin(kKeypadKeys), std::end(kKeypadKeys), key)) {
      return found;
    }
  }
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) ||
      key == Qt::Key_Space) {
    return static_cast<uint32_t>(key);
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
    return 0x70 + static_cast<uint32_t>(key - Qt::Key_F1);
  return Find(std::begin(kQtKeys), std::end(kQtKeys), key);
}

}  // namespace

uint32_t VirtualKeyOfKeyEvent(const QKeyEvent& event) {
  const uint32_t xkb_key = event.nativeScanCode();
  if (xkb_key > kXkbKeyCodeOffset) {
    return keylayout::Layout::Active()->VirtualKeyOf(xkb_key - kXkbKeyCodeOffset);
  }
  return VirtualKeyOfQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

}  // namespace ms1

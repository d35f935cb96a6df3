// The keyboard layout the user types on, read through xkbcommon, and the
// Windows virtual-key codes its keys carry. The input hook reports keys with
// these codes; the program's key tables name keys through the same layout, so
// a key reported by the hook and a key named on screen always agree.
//
// Keys are given by Linux key code (evdev). In the main block a Linux key code
// equals the key's set-1 scan code; the xkb key code is the Linux one plus 8.
//
// Which virtual key a key carries: a key of the character block (digit row,
// letter rows, punctuation, the 102nd key) that prints a letter with no
// modifier held carries that letter's code ('A'..'Z'); one that prints a digit
// carries that digit's ('0'..'9'), with or without Shift (AZERTY's digit row);
// one that prints one of the US punctuation characters carries that
// character's US code (VK_OEM_COMMA for ',', VK_OEM_PLUS for '=' and '+', ...).
// Any other key keeps the code of its position on a US keyboard. No code is
// carried by two keys of the block: a key whose character or position code was
// already taken (the first key in key-code order wins) takes a non-letter code
// of the block that no key carries, or none when there is none left; so
// KeyOf(VirtualKeyOf(k)) == k for every key that carries a code. Keys outside
// the character block (function keys, Enter, arrows, the keypad, modifiers as
// their left/right-specific codes) always carry the code of their position;
// keypad Enter carries VK_SEPARATOR (0x6C).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

struct xkb_context;
struct xkb_keymap;
struct xkb_state;
struct xcb_connection_t;

namespace ms1::keylayout {

class Layout {
 public:
  ~Layout();
  Layout(const Layout&) = delete;
  Layout& operator=(const Layout&) = delete;

  // The layout of the X server's core keyboard now, in its active group;
  // null when the connection has no XKB or the keymap cannot be read.
  static std::unique_ptr<Layout> FromX(xcb_connection_t* connection);

  // A layout by its names (e.g. "fr", or "de" with variant "nodeadkeys");
  // null when xkbcommon has no such layout.
  static std::unique_ptr<Layout> FromNames(const std::string& layout,
                                           const std::string& variant = {});

  // The layout in use at this moment: the X server's when there is a display,
  // else the one the XKB_DEFAULT_* variables name, else the system keyboard
  // configuration (/etc/default/keyboard), else "us". Never null. Reads
  // afresh on every call.
  static std::unique_ptr<Layout> Active();

  // The virtual key the key carries (see above); 0 when it carries none.
  uint32_t VirtualKeyOf(uint32_t linux_key) const;

  // The first Linux key, in key-code order, that carries `virtual_key`; 0
  // when no key does.
  uint32_t KeyOf(uint32_t virtual_key) const;

  // The characters the key prints with no modifier held (UTF-8); empty when it
  // prints none (dead keys included).
  std::string TextOf(uint32_t linux_key) const;

  // The spacing accent a dead key prints with no modifier held ("^" for
  // dead_circumflex), as a name for the key; empty for any other key.
  std::string AccentOf(uint32_t linux_key) const;

  // The layout's name as xkbcommon knows it ("English (US)", "French"), for
  // diagnostics.
  std::string Name() const;

 private:
  Layout(xkb_context* context, xkb_keymap* keymap, uint32_t group);

  xkb_context* context_;
  xkb_keymap* keymap_;
  uint32_t group_;
  // Holds only the group, no modifier: what the keys print unshifted.
  xkb_state* plain_state_ = nullptr;
  std::array<uint32_t, 256> virtual_keys_{};
};

}  // namespace ms1::keylayout

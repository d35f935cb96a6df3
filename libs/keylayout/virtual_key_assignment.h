// Which virtual key every key of a layout carries, decided from what the
// layout prints on the character block (the rules are stated in
// key_layout.h). Kept apart from xkbcommon so the rules can be checked with
// made-up layouts.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "libs/keylayout/us_positions.h"

namespace ms1::keylayout {

// The characters a key prints at its first two shift levels; 0 for none.
struct PrintedCharacters {
  char32_t unshifted = 0;
  char32_t shifted = 0;
};

using VirtualKeyTable = std::array<uint32_t, kLinuxKeyCount>;

VirtualKeyTable AssignVirtualKeys(
    const std::function<PrintedCharacters(uint32_t linux_key)>& printed);

}  // namespace ms1::keylayout

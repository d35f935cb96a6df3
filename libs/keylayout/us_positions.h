// The Windows virtual key each Linux key code carries on a US keyboard, and
// which keys form the character block (the keys a layout prints characters
// on). This is the only place that knows the positional codes.
#pragma once

#include <cstdint>

namespace ms1::keylayout {

// Linux key codes are below this bound; higher ones carry no virtual key.
inline constexpr uint32_t kLinuxKeyCount = 256;

// The virtual key of the key at this position on a US keyboard; 0 for none.
uint32_t UsPositionVirtualKey(uint32_t linux_key);

// True for the digit row, the three letter rows with their punctuation and
// the 102nd key: the keys whose virtual key follows what the layout prints.
bool InCharacterBlock(uint32_t linux_key);

}  // namespace ms1::keylayout

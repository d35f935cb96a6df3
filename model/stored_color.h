// Colours as the profile stores them (the bytes red, green, blue, 0, that is
// 0x00BBGGRR) and as the colour controls use them (opaque 0xAARRGGBB).
#pragma once

#include <cstdint>

namespace ms1 {

// The stored colour as an opaque ARGB value; a foreign top byte is dropped.
uint32_t ArgbOfStoredColor(int32_t stored);

// An ARGB colour as the profile stores it; the alpha is not kept.
int32_t StoredColorOfArgb(uint32_t argb);

}  // namespace ms1

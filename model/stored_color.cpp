#include "model/stored_color.h"

namespace ms1 {

uint32_t ArgbOfStoredColor(int32_t stored) {
  const auto bytes = static_cast<uint32_t>(stored);
  const uint32_t red = bytes & 0xFF;
  const uint32_t green = (bytes >> 8) & 0xFF;
  const uint32_t blue = (bytes >> 16) & 0xFF;
  return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

int32_t StoredColorOfArgb(uint32_t argb) {
  const uint32_t red = (argb >> 16) & 0xFF;
  const uint32_t green = (argb >> 8) & 0xFF;
  const uint32_t blue = argb & 0xFF;
  return static_cast<int32_t>(red | (green << 8) | (blue << 16));
}

}  // namespace ms1

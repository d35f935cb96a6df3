// How a DPI level's stored value becomes the DPI the user sees and the two
// step counts the settings report carries.
#pragma once

#include <cstdint>

namespace ms1 {

// dpi_value counts in steps of this many DPI.
inline constexpr int kDpiUnit = 40;
// Levels above this DPI are in the high range and sent at half their DPI.
inline constexpr int64_t kHighRangeAboveDpi = 4000;

constexpr int64_t DisplayedDpi(int64_t dpi_value) {
  return dpi_value * kDpiUnit;
}

// The two device step counts of one DPI level and whether it is in the high range.
struct DpiSteps {
  uint8_t first_step_count;   // the level's DPI (halved in the high range) / 39
  uint8_t second_step_count;  // the same DPI / 38
  bool high_range;
};
DpiSteps DpiStepsFor(int32_t dpi_value);

}  // namespace ms1

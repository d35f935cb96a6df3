#include "model/protocol/dpi_steps.h"

namespace ms1 {

namespace {

// Divides in single precision and rounds half up, as the mouse's firmware
// expects; the cast goes through int64 so out-of-range values stay defined.
uint8_t RoundedQuotient(float x, float divisor) {
  return static_cast<uint8_t>(static_cast<int64_t>(x / divisor + 0.5f));
}

}  // namespace

DpiSteps DpiStepsFor(int32_t dpi_value) {
  const int64_t dpi = DisplayedDpi(dpi_value);
  const bool high = dpi > kHighRangeAboveDpi;
  const float x = high ? static_cast<float>(dpi) * 0.5f : static_cast<float>(dpi);
  return {RoundedQuotient(x, 39.0f), RoundedQuotient(x, 38.0f), high};
}

}  // namespace ms1

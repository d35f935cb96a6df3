#include "model/settings_reports.h"

#include "model/profile.h"

namespace ms1 {

namespace {

uint8_t LowByte(int32_t value) { return static_cast<uint8_t>(static_cast<uint32_t>(value)); }

// Divides in single precision and rounds half up, as the mouse's firmware
// expects; the cast goes through int64 so out-of-range values stay defined.
uint8_t RoundedQuotient(float x, float divisor) {
  return static_cast<uint8_t>(static_cast<int64_t>(x / divisor + 0.5f));
}

}  // namespace

DpiSteps DpiStepsFor(int32_t dpi_value) {
  const int64_t dpi = static_cast<int64_t>(dpi_value) * 40;
  const bool high = dpi > 4000;
  const float x = high ? static_cast<float>(dpi) * 0.5f : static_cast<float>(dpi);
  return {RoundedQuotient(x, 39.0f), RoundedQuotient(x, 38.0f), high};
}

Report EncodeSettingsReport(const ProfileRecord& profile, int k) {
  const ModeRecord& mode = ModeOf(profile, k);
  Report r = NewReport(command::kSettings, report_size::kSettings);
  r[2] = static_cast<uint8_t>(k + 1);
  r[3] = LowByte(mode.settings_byte_a);
  r[4] = LowByte(mode.settings_byte_b);
  uint8_t enabled = 0;
  uint8_t high = 0;
  for (int n = 0; n < kDpiLevelCount; ++n) {
    if (mode.dpi_enabled[n] == 1) enabled |= static_cast<uint8_t>(1u << n);
    const DpiSteps steps = DpiStepsFor(mode.dpi_value[n]);
    if (steps.high_range) high |= static_cast<uint8_t>(1u << n);
    r[8 + n] = steps.s39;
    r[16 + n] = steps.s38;
    const auto color = static_cast<uint32_t>(mode.dpi_color[n]);
    r[25 + 3 * n] = static_cast<uint8_t>(color);
    r[26 + 3 * n] = static_cast<uint8_t>(color >> 8);
    r[27 + 3 * n] = static_cast<uint8_t>(color >> 16);
  }
  r[5] = enabled;
  r[6] = high;
  r[7] = high;
  r[24] = static_cast<uint8_t>(static_cast<uint32_t>(mode.dpi_level) + 1);
  r[49] = 0x02;
  StoreChecksum(r, 49);
  return r;
}

Report EncodeLightingReport(const ProfileRecord& profile, int k) {
  const ModeRecord& mode = ModeOf(profile, k);
  Report r = NewReport(command::kLighting, report_size::kLighting);
  r[2] = static_cast<uint8_t>(k + 1);
  r[3] = static_cast<uint8_t>(static_cast<uint32_t>(mode.light_effect) << 4);
  r[4] = static_cast<uint8_t>(9u - static_cast<uint32_t>(mode.light_speed));
  const bool sends_brightness = mode.light_effect == 1 || mode.light_effect == 9;
  r[5] = sends_brightness ? LowByte(mode.light_brightness) : 8;
  r[6] = 0xFF;
  r[9] = LowByte(mode.sleep_timer);
  r[10] = 0x01;
  StoreChecksum(r, 10);
  return r;
}

uint8_t PollingIntervalCode(int32_t polling_rate) {
  switch (polling_rate) {
    case 0: return 8;
    case 1: return 4;
    case 2: return 2;
    case 3: return 1;
    default: return 2;
  }
}

Report EncodePollingReport(const ProfileRecord& profile, int k, int j) {
  Report r = NewReport(command::kPollingRate, report_size::kPollingRate);
  r[2] = static_cast<uint8_t>(j);
  r[3] = PollingIntervalCode(ModeOf(profile, k).polling_rate);
  r[4] = static_cast<uint8_t>(~r[3]);
  return r;
}

Report EncodeModeSelectReport(const ProfileRecord& profile) {
  Report r = NewReport(command::kModeSelect, report_size::kModeSelect);
  r[2] = static_cast<uint8_t>(static_cast<uint32_t>(profile.active_mode) + 1);
  r[3] = static_cast<uint8_t>(~r[2]);
  r[4] = 0x02;
  r[5] = 0xFD;
  return r;
}

}  // namespace ms1

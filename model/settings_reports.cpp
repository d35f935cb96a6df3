#include "model/settings_reports.h"

#include "model/profile.h"
#include "model/protocol/lighting_layout.h"
#include "model/protocol/mode_select_layout.h"
#include "model/protocol/polling_layout.h"
#include "model/protocol/settings_layout.h"

namespace ms1 {

namespace {

uint8_t LowByte(int32_t value) {
  return static_cast<uint8_t>(static_cast<uint32_t>(value));
}

uint8_t ModeNumber(int mode_index) {
  return static_cast<uint8_t>(mode_index + 1);
}

}  // namespace

Report EncodeSettingsReport(const ProfileRecord& profile, int mode_index) {
  using namespace settings_layout;
  static_assert(kLevelCount == kDpiLevelCount);
  const ModeRecord& mode = ModeOf(profile, mode_index);
  Report r = NewReport(command::kSettings, report_size::kSettings);
  r[frame::kTarget] = ModeNumber(mode_index);
  r[kSettingsByteA] = LowByte(mode.settings_byte_a);
  r[kSettingsByteB] = LowByte(mode.settings_byte_b);
  uint8_t enabled = 0;
  uint8_t high = 0;
  for (int n = 0; n < kLevelCount; ++n) {
    if (mode.dpi_enabled[n] == 1) enabled |= static_cast<uint8_t>(1u << n);
    const DpiSteps steps = DpiStepsFor(mode.dpi_value[n]);
    if (steps.high_range) high |= static_cast<uint8_t>(1u << n);
    r[kFirstStepCounts + n] = steps.first_step_count;
    r[kSecondStepCounts + n] = steps.second_step_count;
    const auto color = static_cast<uint32_t>(mode.dpi_color[n]);
    r[ColorOf(n)] = static_cast<uint8_t>(color);
    r[ColorOf(n) + 1] = static_cast<uint8_t>(color >> 8);
    r[ColorOf(n) + 2] = static_cast<uint8_t>(color >> 16);
  }
  r[kEnableMask] = enabled;
  r[kHighRangeMask] = high;
  r[kHighRangeMaskCopy] = high;
  r[kDpiLevel] = static_cast<uint8_t>(static_cast<uint32_t>(mode.dpi_level) + 1);
  r[kTrailer] = kTrailerValue;
  StoreChecksum(r, kChecksum);
  return r;
}

Report EncodeLightingReport(const ProfileRecord& profile, int mode_index) {
  using namespace lighting_layout;
  const ModeRecord& mode = ModeOf(profile, mode_index);
  Report r = NewReport(command::kLighting, report_size::kLighting);
  r[frame::kTarget] = ModeNumber(mode_index);
  r[kEffect] = static_cast<uint8_t>(static_cast<uint32_t>(mode.light_effect) << kEffectShift);
  r[kSpeed] = static_cast<uint8_t>(kSpeedBase - static_cast<uint32_t>(mode.light_speed));
  r[kBrightness] =
      SendsBrightness(mode.light_effect) ? LowByte(mode.light_brightness) : kBrightnessUnsent;
  r[kFixedByte] = kFixedByteValue;
  r[kSleepTimer] = LowByte(mode.sleep_timer);
  r[kTrailer] = kTrailerValue;
  StoreChecksum(r, kChecksum);
  return r;
}

Report EncodePollingReport(const ProfileRecord& profile, int mode_index, int repetition) {
  using namespace polling_layout;
  Report r = NewReport(command::kPollingRate, report_size::kPollingRate);
  r[kRepetition] = static_cast<uint8_t>(repetition);
  r[kInterval] = PollingIntervalCode(ModeOf(profile, mode_index).polling_rate);
  r[kIntervalComplement] = Complement(r[kInterval]);
  return r;
}

Report EncodeModeSelectReport(const ProfileRecord& profile) {
  using namespace mode_select_layout;
  Report r = NewReport(command::kModeSelect, report_size::kModeSelect);
  r[kModeNumber] = static_cast<uint8_t>(static_cast<uint32_t>(profile.active_mode) + 1);
  r[kModeComplement] = Complement(r[kModeNumber]);
  r[kMarker] = kMarkerValue;
  r[kMarkerComplement] = Complement(kMarkerValue);
  return r;
}

}  // namespace ms1

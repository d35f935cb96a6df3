#include "model/profile.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "model/text_field.h"

namespace ms1 {

const std::array<uint8_t, kButtonCount> kDefaultButtonFunctions = {
    1, 2, 3, 6, 0, 0, 4, 5, 0, 0, 71, 0, 0, 0, 69, 70, 11, 12};
const std::array<uint8_t, kButtonCount> kDefaultButtonFunctionsMode1 = {
    1, 2, 3, 6, 0, 0, 4, 5, 0, 0, 0, 0, 0, 0, 14, 13, 11, 12};

uint8_t DefaultFunctionCode(int mode, int button) {
  const auto& column = mode == 1 ? kDefaultButtonFunctionsMode1 : kDefaultButtonFunctions;
  return column.at(static_cast<std::size_t>(button));
}

namespace {

constexpr std::array<int32_t, kDpiLevelCount> kDefaultDpiValues = {30, 60, 80, 160, 0, 0, 0, 0};
constexpr std::array<int32_t, kDpiLevelCount> kDefaultDpiEnabled = {1, 1, 1, 1, 0, 0, 0, 0};
constexpr std::array<int32_t, kDpiLevelCount> kDefaultDpiColors = {
    0x000000FF, 0x0000FFFF, 0x00FF0000, 0x0000FF00,
    0x00FFFF00, 0x000000FF, 0x000040FF, 0x00FFFFFF};
constexpr std::array<int32_t, kDpiLevelCount> kDefaultReservedColors = {
    0x000000FF, 0x0000FF00, 0x00FF0000, 0x00FF00FF,
    0x0000FFFF, 0x00FFFFFF, 0x00FFFFFF, 0x000080FF};

void SetLowByte(int32_t& field, uint8_t value) {
  field = static_cast<int32_t>((static_cast<uint32_t>(field) & 0xFFFFFF00u) | value);
}

void ResetMode(ModeRecord& mode, int k) {
  std::fill(std::begin(mode.text_a), std::end(mode.text_a), u'\0');
  std::fill(std::begin(mode.text_b), std::end(mode.text_b), u'\0');
  mode.reserved_2200 = 420;
  mode.reserved_2204 = 3;
  SetLowByte(mode.reserved_2208, 0);
  mode.reserved_2212 = 6;
  mode.dpi_reserved = 0;
  mode.settings_byte_a = 8;
  mode.settings_byte_b = 8;
  std::copy(kDefaultDpiValues.begin(), kDefaultDpiValues.end(), mode.dpi_value);
  std::copy(kDefaultDpiValues.begin(), kDefaultDpiValues.end(), mode.dpi_value_alt);
  std::copy(kDefaultDpiEnabled.begin(), kDefaultDpiEnabled.end(), mode.dpi_enabled);
  mode.light_brightness = 8;
  mode.light_speed = 6;
  mode.sleep_timer = 1;
  mode.dpi_level = 0;
  mode.polling_rate = 1;
  mode.light_effect = 1;
  mode.light_reserved_a = 3;
  SetLowByte(mode.light_reserved_b, 1);
  mode.light_reserved_c = 1;
  mode.light_color = 0x00FF0000;
  std::copy(kDefaultDpiColors.begin(), kDefaultDpiColors.end(), mode.dpi_color);
  std::copy(kDefaultReservedColors.begin(), kDefaultReservedColors.end(), mode.color_reserved);
  mode.reserved_2448 = 0;

  // The whole button area, reserved_tail included, starts from zero.
  std::memset(mode.buttons, 0, sizeof(mode.buttons) + sizeof(mode.reserved_tail));
  for (int i = 0; i < kButtonCount; ++i) {
    ButtonRecord& button = mode.buttons[i];
    button.button_index = static_cast<uint8_t>(i);
    button.function_code = DefaultFunctionCode(k, i);
    button.reserved_8 = 562;
    button.macro_index = -1;
    button.reserved_1076 = -1;
  }
}

}  // namespace

void ResetProfile(ProfileRecord& profile) {
  profile.active_mode = 0;
  for (int k = 0; k < kModeCount; ++k) ResetMode(profile.modes[k], k);
}

std::unique_ptr<ProfileRecord> CreateProfile(std::u16string_view name) {
  auto profile = std::make_unique<ProfileRecord>();
  std::memset(profile.get(), 0, sizeof(ProfileRecord));
  ResetProfile(*profile);
  SetFieldText(profile->name, name);
  return profile;
}

ModeRecord& ModeOf(ProfileRecord& profile, int mode_index) {
  assert(mode_index >= 0 && mode_index < kModeCount);
  return profile.modes[mode_index];
}
const ModeRecord& ModeOf(const ProfileRecord& profile, int mode_index) {
  assert(mode_index >= 0 && mode_index < kModeCount);
  return profile.modes[mode_index];
}
ButtonRecord& ButtonOf(ModeRecord& mode, int i) {
  assert(i >= 0 && i < kButtonCount);
  return mode.buttons[i];
}
const ButtonRecord& ButtonOf(const ModeRecord& mode, int i) {
  assert(i >= 0 && i < kButtonCount);
  return mode.buttons[i];
}

int ActiveModeIndex(const ProfileRecord& profile) {
  const int32_t k = profile.active_mode;
  return k >= 0 && k < kModeCount ? k : 0;
}

void SetSharedSetting(ProfileRecord& profile, SharedSetting field, int32_t value, int level) {
  for (ModeRecord& mode : profile.modes) {
    switch (field) {
      case SharedSetting::kDpiValue: mode.dpi_value[level & 7] = value; break;
      case SharedSetting::kLightBrightness: mode.light_brightness = value; break;
      case SharedSetting::kLightSpeed: mode.light_speed = value; break;
      case SharedSetting::kSleepTimer: mode.sleep_timer = value; break;
      case SharedSetting::kDpiLevel: mode.dpi_level = value; break;
      case SharedSetting::kPollingRate: mode.polling_rate = value; break;
      case SharedSetting::kMoveMode: mode.move_mode = value; break;
      case SharedSetting::kLightEffect: mode.light_effect = value; break;
      case SharedSetting::kLightColor: mode.light_color = value; break;
    }
  }
}

std::vector<int> ModesAssigned(const ProfileRecord& profile, int button) {
  const int k = ActiveModeIndex(profile);
  if ((k == 0 || k == 1) && button < 10) return {k, 1 - k};
  return {k};
}

void StoreButtonAssignment(ProfileRecord& profile, int button, const ButtonRecord& record) {
  for (const int k : ModesAssigned(profile, button)) ButtonOf(ModeOf(profile, k), button) = record;
}

}  // namespace ms1

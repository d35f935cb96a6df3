// Varied, valid profiles for apply tests: every section differs from the
// defaults, and mode record 0 carries macros of different shapes.
#pragma once

#include <memory>
#include <random>

#include "model/profile.h"

namespace ms1::test {

inline void SetMacroButton(ProfileRecord& profile, int button, std::mt19937& random, int steps) {
  ButtonRecord record = ButtonOf(ModeOf(profile, profile.active_mode), button);
  record.function_code = kFunctionMacro;
  record.macro_repeat_mode = static_cast<int32_t>(random() % 3);
  record.macro_loop_count = static_cast<int32_t>(random() % 256);
  record.macro_action_count = static_cast<uint16_t>(steps);
  for (int s = 0; s < steps; ++s) {
    MacroAction& action = record.macro_actions[s];
    action.key = static_cast<uint8_t>(4 + random() % 40);
    action.state = s % 2 == 0 ? kActionPress : kActionRelease;
    // Some delays need a long-delay pair, most do not.
    action.delay_ms =
        static_cast<uint16_t>(random() % 5 == 0 ? 1271 + random() % 6000 : random() % 1271);
  }
  StoreButtonAssignment(profile, button, record);
}

// Profile `seed`: shared settings, colours, lighting and buttons all drawn at
// random within their ranges; `macros` macro buttons on mode record 0.
inline std::unique_ptr<ProfileRecord> SampleProfile(unsigned seed, int macros) {
  std::mt19937 random(seed);
  auto profile = CreateProfile(u"Sample");
  profile->active_mode = 0;
  for (int level = 0; level < kDpiLevelCount; ++level) {
    SetSharedSetting(*profile, SharedSetting::kDpiValue, static_cast<int32_t>(1 + random() % 650),
                     level);
  }
  SetSharedSetting(*profile, SharedSetting::kDpiLevel, static_cast<int32_t>(random() % 8));
  SetSharedSetting(*profile, SharedSetting::kPollingRate, static_cast<int32_t>(random() % 4));
  SetSharedSetting(*profile, SharedSetting::kLightEffect, static_cast<int32_t>(random() % 10));
  SetSharedSetting(*profile, SharedSetting::kLightBrightness, static_cast<int32_t>(random() % 11));
  SetSharedSetting(*profile, SharedSetting::kLightSpeed, static_cast<int32_t>(random() % 10));
  SetSharedSetting(*profile, SharedSetting::kSleepTimer, static_cast<int32_t>(random() % 60));
  for (int k = 0; k < kModeCount; ++k) {
    for (int level = 0; level < kDpiLevelCount; ++level) {
      profile->modes[k].dpi_color[level] = static_cast<int32_t>(random() & 0xFFFFFF);
      profile->modes[k].dpi_enabled[level] = static_cast<int32_t>(random() % 2);
    }
  }
  // Macros go to buttons 2, 5, 11, 17, ... so both mirrored and unmirrored buttons take part.
  static constexpr int kMacroButtons[] = {2, 5, 11, 17, 7, 14};
  for (int m = 0; m < macros && m < 6; ++m) {
    SetMacroButton(*profile, kMacroButtons[m], random, static_cast<int>(random() % 20));
  }
  ButtonRecord shortcut = ButtonOf(ModeOf(*profile, 0), 9);
  shortcut.function_code = kFunctionShortcut;
  shortcut.shortcut_modifiers = static_cast<uint8_t>(random() % 16);
  shortcut.shortcut_key = static_cast<uint8_t>(4 + random() % 90);
  StoreButtonAssignment(*profile, 9, shortcut);
  return profile;
}

}  // namespace ms1::test

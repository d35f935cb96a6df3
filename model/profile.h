// Creating, resetting and editing profiles while keeping the model's invariants:
// shared settings are the same in all five mode records, and buttons 0..9 of
// modes 0 and 1 mirror each other.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "model/records.h"

namespace ms1 {

// Default function codes per button: for mode record 1, and for the other four.
extern const std::array<uint8_t, kButtonCount> kDefaultButtonFunctions;
extern const std::array<uint8_t, kButtonCount> kDefaultButtonFunctionsMode1;
uint8_t DefaultFunctionCode(int mode, int button);

// Sets active_mode 0 and every mode record to its defaults; keeps the name,
// move_mode, reserved_0 and the two 8-byte reserved areas.
void ResetProfile(ProfileRecord& profile);

// A zero-filled, reset profile with the given name (cut to 49 characters).
std::unique_ptr<ProfileRecord> CreateProfile(std::u16string_view name);

ModeRecord& ModeOf(ProfileRecord& profile, int mode_index);
const ModeRecord& ModeOf(const ProfileRecord& profile, int mode_index);
ButtonRecord& ButtonOf(ModeRecord& mode, int i);
const ButtonRecord& ButtonOf(const ModeRecord& mode, int i);

// The mode record that active_mode names. A value outside 0..4 can only come
// from a foreign file; it falls back to mode record 0 rather than reading
// outside the profile.
int ActiveModeIndex(const ProfileRecord& profile);

enum class SharedSetting {
  kDpiValue,  // needs the level 0..7
  kLightBrightness,
  kLightSpeed,
  kSleepTimer,
  kDpiLevel,
  kPollingRate,
  kMoveMode,
  kLightEffect,
  kLightColor,
};

// Writes one shared setting into all five mode records.
void SetSharedSetting(ProfileRecord& profile, SharedSetting field, int32_t value, int level = 0);

// Stores a button's new assignment in the active mode record. While mode 0 or 1
// is active, buttons 0..9 are copied whole to the same button of the other one.
void StoreButtonAssignment(ProfileRecord& profile, int button, const ButtonRecord& record);

// The mode records StoreButtonAssignment writes for `button`: the active one
// first, then the one it copies to, if any.
std::vector<int> ModesAssigned(const ProfileRecord& profile, int button);

}  // namespace ms1

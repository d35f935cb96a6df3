#include "model/button_assignment.h"

#include <algorithm>
#include <cstring>

#include "model/macro_store.h"
#include "model/profile.h"

namespace ms1 {

namespace {
constexpr int kLeftClickButtons = 16;  // the buttons that can serve as the left click
}  // namespace

bool KeepsALeftClick(const ModeRecord& mode, int button, uint8_t code) {
  for (int i = 0; i < kLeftClickButtons; ++i) {
    const uint8_t function = i == button ? code : ButtonOf(mode, i).function_code;
    if (function == kFunctionLeftClick) return true;
  }
  return false;
}

bool AssignmentKeepsALeftClick(const ProfileRecord& profile, int button, uint8_t code) {
  for (const int k : ModesAssigned(profile, button)) {
    if (!KeepsALeftClick(ModeOf(profile, k), button, code)) return false;
  }
  return true;
}

bool ButtonOffersMacros(int button) {
  return (button >= 0 && button < 12) || button == 16 || button == 17;
}

void SetButtonFunction(ButtonRecord& button, uint8_t code) {
  if (button.function_code == kFunctionMacro && code != kFunctionMacro) {
    button.macro_repeat_mode = 0;
    std::fill(std::begin(button.macro_name), std::end(button.macro_name), u'\0');
    button.macro_loop_count = 0;
    button.macro_action_count = 0;
    button.macro_index = -1;
    std::fill(std::begin(button.macro_actions), std::end(button.macro_actions), MacroAction{});
  }
  button.function_code = code;
}

std::array<uint8_t, 4> ShortcutFlagsOf(uint8_t modifiers) {
  std::array<uint8_t, 4> flags{};
  for (int bit = 0; bit < 4; ++bit) flags[bit] = (modifiers >> bit) & 1u;
  return flags;
}

uint8_t ShortcutModifiersOf(const std::array<uint8_t, 4>& flags) {
  uint8_t modifiers = 0;
  for (int bit = 0; bit < 4; ++bit) {
    if (flags[bit] == 1) modifiers |= static_cast<uint8_t>(1u << bit);
  }
  return modifiers;
}

void PrepareShortcut(ButtonRecord& button) {
  if (button.function_code == kFunctionShortcut) return;
  // What an earlier shortcut left behind is not this button's shortcut.
  button.shortcut_key = 0;
  button.shortcut_modifiers = 0;
  std::memset(button.reserved_4, 0, sizeof button.reserved_4);
}

void AssignMacro(ButtonRecord& button, const MacroRecord& macro, int32_t index,
                 int32_t repeat_mode, int32_t loop_count) {
  button.macro_repeat_mode = repeat_mode;
  button.macro_loop_count = loop_count;
  button.macro_index = index;
  RefreshMacroCopy(button, macro);
}

}  // namespace ms1

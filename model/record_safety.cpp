#include "model/record_safety.h"

#include <algorithm>
#include <iterator>

namespace ms1 {

namespace {

template <std::size_t N>
void Terminate(char16_t (&field)[N]) {
  if (std::find(std::begin(field), std::end(field), u'\0') == std::end(field)) field[N - 1] = u'\0';
}

}  // namespace

void MakeProfileSafe(ProfileRecord& profile) {
  if (profile.active_mode < 0 || profile.active_mode >= kModeCount) profile.active_mode = 0;
  Terminate(profile.name);
  for (ModeRecord& mode : profile.modes) {
    for (ButtonRecord& button : mode.buttons) {
      if (button.macro_action_count > kMaxMacroActions)
        button.macro_action_count = kMaxMacroActions;
      Terminate(button.macro_name);
    }
  }
}

void MakeMacroSafe(MacroRecord& macro) {
  macro.action_count = std::clamp<int32_t>(macro.action_count, 0, kMaxMacroActions);
  Terminate(macro.name);
}

}  // namespace ms1

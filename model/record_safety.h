// Records read from any file may come from an older program, another tool or
// a damaged disk. These make the fields that other code uses as counts,
// indexes or terminated strings safe, and leave every other byte alone, so a
// sound record is not changed at all.
#pragma once

#include "model/records.h"

namespace ms1 {

// active_mode outside 0..4 becomes 0; every button's macro_action_count is at
// most 46; the profile name and every button's macro_name end in a terminator.
void MakeProfileSafe(ProfileRecord& profile);

// action_count outside 0..46 is clamped into it; the name ends in a terminator.
void MakeMacroSafe(MacroRecord& macro);

}  // namespace ms1

// The rules for giving a button a new function from the page's menus.
#pragma once

#include <array>
#include <cstdint>

#include "model/profile.h"
#include "model/records.h"

namespace ms1 {

// Whether buttons 0..15 of the mode record still hold a left click once
// `button` gets `code`: without one the mouse could not click any more.
bool KeepsALeftClick(const ModeRecord& mode, int button, uint8_t code);
// KeepsALeftClick for every mode record that the assignment writes: a button
// of mode 0 or 1 is copied into the other one too.
bool AssignmentKeepsALeftClick(const ProfileRecord& profile, int button, uint8_t code);

// Buttons 1 to 12 and 17 and 18 (0..11, 16, 17) offer macros and follow the
// macro list when macros change; 13 to 16 offer none.
bool ButtonOffersMacros(int button);

// Gives the button `code`. A button that stops being a macro button forgets
// its macro, so that a later change of that macro leaves it alone.
void SetButtonFunction(ButtonRecord& button, uint8_t code);

// The shortcut dialog's Ctrl, Shift, Alt and Win flags and the button's
// modifier bits (bit 0 Ctrl .. bit 3 Win). Only a flag of exactly 1 counts.
std::array<uint8_t, 4> ShortcutFlagsOf(uint8_t modifiers);
uint8_t ShortcutModifiersOf(const std::array<uint8_t, 4>& flags);

// A button taken to the shortcut function starts without a shortcut: its key,
// the three bytes after it and its modifiers are cleared unless it already was
// a shortcut (which the dialog then shows).
void PrepareShortcut(ButtonRecord& button);

// The macro settings and the macro's copy a button carries once `macro`
// (entry `index` of the list) is assigned to it.
void AssignMacro(ButtonRecord& button, const MacroRecord& macro, int32_t index,
                 int32_t repeat_mode, int32_t loop_count);

}  // namespace ms1

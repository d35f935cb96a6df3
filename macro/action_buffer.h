// The editor's working copy of one macro's steps. What the mouse can hold of
// them is measured as the macro report packs them (model/macro_report.h).
#pragma once

#include <cstdint>
#include <vector>

#include "model/macro_report.h"
#include "model/records.h"

namespace ms1 {

inline constexpr uint16_t kSmallestDelayMs = 10;
// Longer pauses would play wrapped, as far shorter ones.
inline constexpr uint16_t kLargestDelayMs = kLongestDelayMs;
static_assert(kLargestDelayMs == kLongestDelayMs);

enum class DelayMode : int32_t {
  kRecordDelay = 0,   // the measured time between events
  kDefaultDelay = 1,  // the default-delay field
  kNoDelay = 2,       // the smallest delay
};

struct ActionBuffer {
  MacroAction actions[kMaxMacroActions] = {};
  int32_t action_count = 0;
  bool recording = false;
  bool timing_armed = false;  // recorded events give delays to the step before them
  int32_t insert_start = -1;  // insert_pos when the running or last recording started
  bool insert_mode = false;   // steps go after the selected one
  uint16_t default_delay = 10;
  DelayMode delay_mode = DelayMode::kDefaultDelay;
  int32_t iActionIndex = -1;      // selected step; -1 = none
  int32_t iNextActionIndex = -1;  // never changes; only traced
  int32_t insert_pos = -1;        // where the next step goes; -1 = at the end
};

MacroSize MeasureSteps(const ActionBuffer& buffer);

// Whether the steps may replace a stored macro of size `stored`: kFits when
// they fit the mouse, or when the stored macro did not fit either (an older
// store, a foreign file) and they ask no more of the mouse in any measure, so
// that it can be trimmed; else the first limit they break.
MacroFit CommitFit(const MacroSize& steps, const MacroSize& stored);

// The keys and mouse buttons the steps leave pressed, in the order pressed.
std::vector<uint8_t> KeysHeldAtEnd(const ActionBuffer& buffer);

// Puts the step at insert_pos (or at the end) and moves later steps up. A full
// buffer drops the step; returns whether it was inserted.
bool InsertStep(ActionBuffer& buffer, MacroAction step);

// Removes the step at index; later steps move down.
void EraseStep(ActionBuffer& buffer, int index);

// No steps, nothing selected, appending.
void ClearSteps(ActionBuffer& buffer);

bool IsValidStep(const ActionBuffer& buffer, int index);

}  // namespace ms1

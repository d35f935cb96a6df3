// The editor's working copy of one macro's steps, with the step budget that
// decides what the mouse can hold: a step whose pause exceeds 1280 ms takes
// two of the mouse's slots, so the budget counts it twice.
#pragma once

#include <cstdint>

#include "model/records.h"

namespace ms1 {

inline constexpr uint16_t kSmallestDelayMs = 10;
inline constexpr uint16_t kLargestDelayMs = 65535;
inline constexpr uint16_t kLongDelayThresholdMs = 1280;
// Recording stops once the weighted count reaches this before an event.
inline constexpr int kRecordingBudget = kMaxMacroActions;
// A commit whose weighted count exceeds this is refused.
inline constexpr int kCommitBudget = 47;

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

// iTotalNum: every valid step counts once, a long-delayed one twice.
int WeightedStepCount(const ActionBuffer& buffer);

// Puts the step at insert_pos (or at the end) and moves later steps up. A full
// buffer drops the step; returns whether it was inserted.
bool InsertStep(ActionBuffer& buffer, MacroAction step);

// Removes the step at index; later steps move down.
void EraseStep(ActionBuffer& buffer, int index);

// No steps, nothing selected, appending.
void ClearSteps(ActionBuffer& buffer);

bool IsValidStep(const ActionBuffer& buffer, int index);

}  // namespace ms1

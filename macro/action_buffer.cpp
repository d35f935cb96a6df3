#include "macro/action_buffer.h"

#include <algorithm>
#include <iterator>

namespace ms1 {

int WeightedStepCount(const ActionBuffer& buffer) {
  int total = 0;
  for (int i = 0; i < buffer.action_count; ++i) {
    total += buffer.actions[i].delay_ms > kLongDelayThresholdMs ? 2 : 1;
  }
  return total;
}

bool InsertStep(ActionBuffer& buffer, MacroAction step) {
  if (buffer.action_count >= kMaxMacroActions) return false;
  // A position past the end would leave a gap of stale steps; it goes at the end.
  const int at = buffer.insert_pos != -1 ? std::min(buffer.insert_pos, buffer.action_count)
                                         : buffer.action_count;
  MacroAction* const first = std::begin(buffer.actions) + at;
  std::copy_backward(first, std::begin(buffer.actions) + buffer.action_count,
                     std::begin(buffer.actions) + buffer.action_count + 1);
  *first = step;
  ++buffer.action_count;
  ++buffer.iActionIndex;
  if (buffer.insert_pos != -1) ++buffer.insert_pos;
  return true;
}

void EraseStep(ActionBuffer& buffer, int index) {
  MacroAction* const end = std::begin(buffer.actions) + buffer.action_count;
  std::copy(std::begin(buffer.actions) + index + 1, end, std::begin(buffer.actions) + index);
  *(end - 1) = MacroAction{};
  --buffer.action_count;
}

void ClearSteps(ActionBuffer& buffer) {
  std::fill(std::begin(buffer.actions), std::end(buffer.actions), MacroAction{});
  buffer.action_count = 0;
  buffer.insert_mode = false;
  buffer.insert_pos = -1;
  buffer.iActionIndex = -1;
}

bool IsValidStep(const ActionBuffer& buffer, int index) {
  return index >= 0 && index < buffer.action_count;
}

}  // namespace ms1

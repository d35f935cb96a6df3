#include "macro/action_buffer.h"

#include <algorithm>
#include <iterator>

namespace ms1 {

MacroSize MeasureSteps(const ActionBuffer& buffer) {
  return MeasureMacro(std::span(buffer.actions, static_cast<std::size_t>(buffer.action_count)));
}

MacroFit CommitFit(const MacroSize& steps, const MacroSize& stored) {
  const MacroFit fit = FitOf(steps);
  const bool no_larger = steps.steps <= stored.steps && steps.pairs <= stored.pairs &&
                         steps.long_delays <= stored.long_delays &&
                         steps.overlong_delays <= stored.overlong_delays;
  return no_larger ? MacroFit::kFits : fit;
}

// Any state but a press releases, as the mouse plays it.
std::vector<uint8_t> KeysHeldAtEnd(const ActionBuffer& buffer) {
  std::vector<uint8_t> held;
  for (int i = 0; i < buffer.action_count; ++i) {
    const MacroAction& step = buffer.actions[i];
    const auto at = std::find(held.begin(), held.end(), step.key);
    if (step.state == kActionPress && at == held.end()) held.push_back(step.key);
    if (step.state != kActionPress && at != held.end()) held.erase(at);
  }
  return held;
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

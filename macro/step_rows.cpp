#include "macro/step_rows.h"

#include "macro/mouse_buttons.h"

namespace ms1 {

namespace {

int DelayShown(const ActionBuffer& buffer, int index) {
  if (index == buffer.action_count - 1) return kSmallestDelayMs;
  return buffer.actions[index].delay_ms;
}

}  // namespace

StepRow StepRowAt(const ActionBuffer& buffer, int index) {
  const MacroAction& step = buffer.actions[index];
  return {step.key, IsMouseButtonCode(step.key), step.state == kActionPress,
          DelayShown(buffer, index)};
}

StepEditorContent StepEditorFor(const ActionBuffer& buffer, bool open) {
  const int index = buffer.iActionIndex;
  if (!open || !IsValidStep(buffer, index)) return {};
  const uint8_t key = buffer.actions[index].key;
  if (IsMouseButtonCode(key)) {
    return {StepEditorPage::kMouse, key, MouseItemOfCode(key), DelayShown(buffer, index)};
  }
  return {StepEditorPage::kKeyboard, key, 0, DelayShown(buffer, index)};
}

}  // namespace ms1

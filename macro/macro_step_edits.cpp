// Edits of single steps: mouse clicks, moves, deletion, clearing, a step's
// delay and key. Each ends with a commit.
#include <utility>

#include "macro/delay_text.h"
#include "macro/hook_event_translation.h"
#include "macro/macro_editor_model.h"
#include "macro/mouse_buttons.h"

namespace ms1 {

void MacroEditorModel::InsertMouseClick(int n) {
  if (!HasCurrentMacro() || n < 1 || n > 5) return;
  if (buffer_.action_count >= kMaxMacroActions) {
    Refuse(MacroFit::kTooManySteps);
    return;
  }
  const uint8_t key = MouseButtonCodeOfItem(n - 1);
  buffer_.insert_mode = true;
  buffer_.insert_pos = buffer_.iActionIndex + 1;  // at the top without a selected step
  const uint16_t delay =
      buffer_.delay_mode == DelayMode::kDefaultDelay ? DefaultDelayFieldValue() : kSmallestDelayMs;
  if (buffer_.action_count + 2 > kMaxMacroActions) {
    Refuse(MacroFit::kTooManySteps);
    return;
  }
  InsertStep(buffer_, {key, kActionPress, delay});
  InsertStep(buffer_, {key, kActionRelease, delay});
  ShowSteps();
  CommitMacro();
  buffer_.insert_mode = false;
}

void MacroEditorModel::SwapSelectedWith(int offset) {
  const int row = context_.view.SelectedRow();
  const int other = row + offset;
  if (!IsValidStep(buffer_, row) || !IsValidStep(buffer_, other)) return;
  std::swap(buffer_.actions[row], buffer_.actions[other]);
  RefreshRow(row);
  RefreshRow(other);
  SelectStepRow(other);
  CommitMacro();
}

void MacroEditorModel::MoveStepUp() {
  SwapSelectedWith(-1);
}

void MacroEditorModel::MoveStepDown() {
  SwapSelectedWith(1);
}

void MacroEditorModel::DeleteStep() {
  const int index = buffer_.iActionIndex;
  if (!IsValidStep(buffer_, index)) return;
  EraseStep(buffer_, index);
  context_.view.RemoveStepRow(index);
  const int count = buffer_.action_count;
  // The row that became the last shows the placeholder delay from now on.
  if (index == count && count > 0) RefreshRow(count - 1);
  SelectStepRow(index < count ? index : count - 1);
  CommitMacro();
}

void MacroEditorModel::ClearAllSteps() {
  if (!HasCurrentMacro()) return;
  ClearSteps(buffer_);
  CommitMacro();
  ShowSteps();
}

std::optional<uint16_t> MacroEditorModel::SetStepDelay(std::u16string_view text) {
  const uint16_t delay = DelayFromText(text);
  const int index = buffer_.iActionIndex;
  std::optional<uint16_t> stored;
  // The last step's delay is only a placeholder until a step follows it.
  if (index >= 0 && index < buffer_.action_count - 1) {
    buffer_.actions[index].delay_ms = delay;
    RefreshRow(index);
    stored = delay;
  }
  CommitMacro();
  return stored;
}

void MacroEditorModel::SetStepKey(uint8_t key) {
  const int index = buffer_.iActionIndex;
  if (IsValidStep(buffer_, index)) {
    buffer_.actions[index].key = key;
    RefreshRow(index);
  }
  CommitMacro();
}

void MacroEditorModel::SetStepMouseButton(int item) {
  if (item < 0 || item > 4) return;
  SetStepKey(MouseButtonCodeOfItem(item));
}

uint8_t MacroEditorModel::CaptureKey(uintptr_t virtual_key) {
  const uint8_t code = KeyCodeOfVirtualKey(virtual_key, context_.virtual_key_to_usage);
  SetStepKey(code);
  return code;
}

}  // namespace ms1

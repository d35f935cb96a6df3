// What the step list and the step editor show of a step. The newest step's
// delay is only a placeholder until another step follows it, so the last row
// always shows the smallest delay instead.
#pragma once

#include <cstdint>

#include "macro/action_buffer.h"

namespace ms1 {

struct StepRow {
  uint8_t key = 0;
  bool mouse_button = false;  // the mouse image instead of the keyboard one
  bool press = false;         // only state 1 is a press; every other value reads as a release
  int delay_shown = 0;
  friend bool operator==(const StepRow&, const StepRow&) = default;
};

// Row `index` of the buffer's valid steps.
StepRow StepRowAt(const ActionBuffer& buffer, int index);

enum class StepEditorPage { kEmpty = 0, kKeyboard = 1, kMouse = 2 };

struct StepEditorContent {
  StepEditorPage page = StepEditorPage::kEmpty;
  uint8_t key = 0;     // kKeyboard: the key whose name the key field shows
  int mouse_item = 0;  // kMouse: the button's item in the button choice
  int delay_shown = 0;
};

// The step editor for the selected step; the empty page when it is closed or
// no step is selected.
StepEditorContent StepEditorFor(const ActionBuffer& buffer, bool open);

}  // namespace ms1

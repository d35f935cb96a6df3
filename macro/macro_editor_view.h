// What the macro editor's steps, selection and recording change on the screen,
// and what the model reads from it. The editor window implements it on its
// controls; every call comes on the interface thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "macro/step_rows.h"
#include "model/macro_report.h"

namespace ms1 {

// What the editor tells about the current macro beside its steps.
struct MacroNotes {
  // The limit that undid the last change, or that stopped the recording.
  MacroFit refused = MacroFit::kFits;
  bool recording_stopped = false;
  // The limit the macro as stored breaks (from an older store or a foreign
  // file): the mouse would not play all of it.
  MacroFit stored = MacroFit::kFits;
  // Keys and mouse buttons still pressed when it ends.
  std::vector<uint8_t> held_keys;

  bool operator==(const MacroNotes&) const = default;
};

class MacroEditorView {
 public:
  virtual ~MacroEditorView() = default;

  // "ms_1_macro_action_list": every row replaced by these, repainted at once.
  virtual void RebuildStepList(const std::vector<StepRow>& rows) = 0;
  // Rewrites one existing row.
  virtual void RefreshStepRow(int row, const StepRow& content) = 0;
  virtual void RemoveStepRow(int row) = 0;
  // Selects a row without taking the focus; -1 leaves none selected. The model
  // has already made that row its selected step.
  virtual void SelectRow(int row) = 0;
  // The row the list shows selected, -1 for none.
  virtual int SelectedRow() const = 0;
  virtual void ScrollStepListToEnd() = 0;
  // Once the list has laid out its new rows (a one-shot 50 ms timer).
  virtual void ScrollRowIntoViewSoon(int row) = 0;

  // "ms_1_default_delay_edit".
  virtual std::u16string DefaultDelayText() const = 0;
  // "ms_1_macro_record_btn": its language text key and whether it is on.
  virtual void SetRecordButton(std::string_view text_key, bool checked) = 0;
  // "ms_1_macro_name_edit".
  virtual void SetMacroNameText(std::u16string_view name) = 0;

  // After every load and commit; an empty MacroNotes shows nothing.
  virtual void ShowMacroNotes(const MacroNotes& notes) = 0;
};

}  // namespace ms1

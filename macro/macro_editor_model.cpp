#include "macro/macro_editor_model.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <utility>

#include "macro/delay_text.h"
#include "macro/step_rows.h"
#include "model/text_field.h"

namespace ms1 {

MacroEditorModel::MacroEditorModel(MacroEditorContext context) : context_(std::move(context)) {}

MacroSize MacroEditorModel::TracedSize(const ActionBuffer& buffer) {
  const MacroSize size = MeasureSteps(buffer);
  std::fprintf(stderr, "iTotalNum = %d\r\n", size.pairs);
  return size;
}

MacroRecord* MacroEditorModel::CurrentMacro() {
  return HasCurrentMacro() ? context_.macros[static_cast<std::size_t>(current_index_)].get()
                           : nullptr;
}

void MacroEditorModel::SelectMacro(int row) {
  LoadMacro(row);
  std::fprintf(stderr, "iActionIndex=%d, iNextActionIndex=%d\r\n", buffer_.iActionIndex,
               buffer_.iNextActionIndex);
}

void MacroEditorModel::LoadMacro(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= context_.macros.size()) {
    // With nothing current the buffer is emptied too, so that no edit can act
    // on steps the list no longer shows.
    current_index_ = -1;
    ClearSteps(buffer_);
    context_.view.RebuildStepList({});
    refused_ = MacroFit::kFits;
    ShowNotes();
    return;
  }
  current_index_ = index;
  const MacroRecord& macro = *CurrentMacro();
  std::copy(std::begin(macro.actions), std::end(macro.actions), std::begin(buffer_.actions));
  buffer_.action_count = std::clamp<int32_t>(macro.action_count, 0, kMaxMacroActions);
  if (buffer_.action_count == 0) buffer_.iActionIndex = -1;
  // Positions of an earlier insertion do not refer to the steps just loaded.
  buffer_.insert_mode = false;
  buffer_.insert_pos = -1;
  context_.view.SetMacroNameText(FieldText(macro.name));
  ShowSteps();
  refused_ = MacroFit::kFits;
  ShowNotes();
}

bool MacroEditorModel::CommitMacro() {
  MacroRecord* macro = CurrentMacro();
  const MacroFit fit =
      CommitFit(TracedSize(buffer_), macro != nullptr ? MeasureMacro(*macro) : MacroSize{});
  if (fit != MacroFit::kFits) {
    if (current_index_ >= 0) LoadMacro(current_index_);
    reload_pending_ = false;
    Refuse(fit);
    return false;
  }
  if (macro != nullptr) {
    std::copy(std::begin(buffer_.actions), std::end(buffer_.actions), std::begin(macro->actions));
    macro->action_count = buffer_.action_count;
    SaveStore();
  }
  refused_ = MacroFit::kFits;
  ShowNotes();
  return true;
}

void MacroEditorModel::Refuse(MacroFit fit, bool recording) {
  refused_ = fit;
  refused_recording_ = recording;
  ShowNotes();
}

void MacroEditorModel::ShowNotes() {
  MacroNotes notes;
  if (const MacroRecord* macro = CurrentMacro()) {
    notes.refused = refused_;
    notes.recording_stopped = refused_recording_;
    notes.stored = FitOf(MeasureMacro(*macro));
    notes.held_keys = KeysHeldAtEnd(buffer_);
  }
  context_.view.ShowMacroNotes(notes);
}

void MacroEditorModel::SaveStore() {
  std::string error;
  context_.store.SaveMacros(context_.macros, error);
}

void MacroEditorModel::ReloadForCancel() {
  reload_pending_ = true;
  if (current_index_ >= 0) LoadMacro(current_index_);
  reload_pending_ = false;
}

void MacroEditorModel::SelectStep(int row) {
  buffer_.iActionIndex = IsValidStep(buffer_, row) ? row : -1;
}

void MacroEditorModel::SetDelayMode(DelayMode mode) {
  buffer_.delay_mode = mode;
}

// The list mirrors the buffer, and the selection follows what was just done:
// the start of a cancelled recording, the newest inserted step, or the end.
void MacroEditorModel::ShowSteps() {
  std::vector<StepRow> rows;
  rows.reserve(static_cast<std::size_t>(buffer_.action_count));
  for (int i = 0; i < buffer_.action_count; ++i) rows.push_back(StepRowAt(buffer_, i));
  context_.view.RebuildStepList(rows);
  if (reload_pending_ && buffer_.insert_start >= 0) {
    SelectAndScrollSoon(buffer_.insert_start);
  } else if (buffer_.insert_mode) {
    SelectAndScrollSoon(buffer_.insert_pos - 1);
  } else {
    SelectStepRow(buffer_.action_count - 1);
    context_.view.ScrollStepListToEnd();
  }
}

// The selected step always names a row that exists: a row outside the list
// selects none.
void MacroEditorModel::SelectStepRow(int row) {
  SelectStep(row);
  context_.view.SelectRow(buffer_.iActionIndex);
}

void MacroEditorModel::SelectAndScrollSoon(int row) {
  SelectStepRow(row);
  if (buffer_.iActionIndex >= 0) context_.view.ScrollRowIntoViewSoon(buffer_.iActionIndex);
}

void MacroEditorModel::RefreshRow(int row) {
  context_.view.RefreshStepRow(row, StepRowAt(buffer_, row));
}

uint16_t MacroEditorModel::DefaultDelayFieldValue() const {
  return DelayFromText(context_.view.DefaultDelayText());
}

}  // namespace ms1

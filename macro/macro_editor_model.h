// The macro editor's model: one macro of the macro list at a time, copied into
// a working buffer, changed there by recording, mouse clicks and step edits,
// and written back to the list and the macro store after every change unless
// the mouse could not hold the result, which reloads the stored macro instead
// and tells why.
// Lives as long as one editor window; everything runs on the interface thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "device/driver/input_hook_table.h"
#include "macro/action_buffer.h"
#include "macro/hook_event_translation.h"
#include "macro/macro_editor_view.h"
#include "macro/recorder_memory.h"
#include "model/macro_store.h"
#include "model/store_writer.h"

namespace ms1 {

struct MacroEditorContext {
  MacroList& macros;
  // Where every change is saved; it tells of a failed save itself.
  MacroStoreWriter& store;
  // Stays valid for the model's life; its entries may be null.
  const InputHookTable& hook;
  // Where the hook reports events while recording.
  Ms1WindowHandle editor_window;
  MacroEditorView& view;
  VirtualKeyToUsageFn virtual_key_to_usage;
  TickSource now = SteadyTickMs;
  RecorderMemory& memory = ProcessRecorderMemory();
};

class MacroEditorModel {
 public:
  explicit MacroEditorModel(MacroEditorContext context);

  const ActionBuffer& Buffer() const { return buffer_; }
  int CurrentMacroIndex() const { return current_index_; }
  bool HasCurrentMacro() const { return current_index_ >= 0; }

  // The macro list's row was selected: that macro becomes current.
  void SelectMacro(int row);
  // Fills the buffer from the macro at index; outside the list, no macro is
  // current and the step list is emptied.
  void LoadMacro(int index);
  // Writes the buffer into the current macro and saves the store; when the
  // steps may not replace it (CommitFit), reloads the stored macro instead and
  // returns false.
  bool CommitMacro();
  // Cancel of the step editor: the stored macro again, with the row where the
  // last recording started selected.
  void ReloadForCancel();
  // The step list's row was selected, by the user or by the model.
  void SelectStep(int row);
  void SetDelayMode(DelayMode mode);

  void StartRecording();
  void StopRecording();
  // The record button was switched: stops a running recording, else starts one.
  void ToggleRecording();
  // One hook event while recording.
  void RecordHookEvent(uintptr_t first, intptr_t second);
  // Any hook event that reached the window, or a key typed into it while a
  // recording runs: a step when it is one.
  void HandleHookEvent(uintptr_t first, intptr_t second);
  // The pointer entered (true) or left the record button.
  void PointerOverRecordButton(bool over);
  // The window closes: a running recording stops (committed once, as by its
  // button), so no hook outlives the window.
  void ReleaseHookForClose();

  // Button n = 1..5: a press and a release of that mouse button after the
  // selected step (at the top without one).
  void InsertMouseClick(int n);
  void MoveStepUp();
  void MoveStepDown();
  void DeleteStep();
  // Only with a current macro.
  void ClearAllSteps();
  // A step delay field lost the focus. Returns the delay stored, if any: the
  // last step's delay cannot be set.
  std::optional<uint16_t> SetStepDelay(std::u16string_view text);
  // The selected step's key, from key capture or the button choice.
  void SetStepKey(uint8_t key);
  // Item 0..4 of the step editor's button choice.
  void SetStepMouseButton(int item);
  // A key typed into the step's key field; returns the code set.
  uint8_t CaptureKey(uintptr_t virtual_key);

 private:
  MacroRecord* CurrentMacro();
  // The size as iTotalNum (the pairs it takes), traced on standard error.
  static MacroSize TracedSize(const ActionBuffer& buffer);
  void ShowSteps();
  void ShowNotes();
  // Tells the limit that undid a change or stopped the recording.
  void Refuse(MacroFit fit, bool recording = false);
  void StopRecordingAt(MacroFit fit);
  void SelectStepRow(int row);
  void SelectAndScrollSoon(int row);
  void RefreshRow(int row);
  uint16_t DefaultDelayFieldValue() const;
  uint16_t DelayBeforeEvent(uint32_t now) const;
  void StoreDelayBeforeEvent(ActionBuffer& buffer, uint32_t now) const;
  void SwapSelectedWith(int offset);
  void SaveStore();

  MacroEditorContext context_;
  ActionBuffer buffer_;
  int current_index_ = -1;
  bool reload_pending_ = false;
  bool record_events_ = false;
  MacroFit refused_ = MacroFit::kFits;  // until the next commit or load
  bool refused_recording_ = false;
};

}  // namespace ms1

// Recording from the live keyboard and mouse: every hook event becomes a step
// at the end or after the selected step, and the time before it becomes the
// delay of the step before it.
#include <algorithm>

#include "macro/hook_sequences.h"
#include "macro/macro_editor_model.h"

namespace ms1 {

namespace {

constexpr char kStartRecordingText[] = "start_recording_text";
constexpr char kStopRecordingText[] = "stop_recording_text";

}  // namespace

void MacroEditorModel::StartRecording() {
  if (buffer_.recording) return;
  if (buffer_.iActionIndex < 0) {
    ClearSteps(buffer_);  // recorded afresh
  } else {
    buffer_.insert_pos = buffer_.iActionIndex + 1;
    buffer_.insert_mode = true;
  }
  buffer_.insert_start = buffer_.insert_pos;
  buffer_.recording = true;
  buffer_.timing_armed = true;
  context_.view.SetRecordButton(kStopRecordingText, true);
  buffer_.default_delay = DefaultDelayFieldValue();
  record_events_ = true;
  HookStartRecording(context_.hook, context_.editor_window);
  context_.memory.last_event_tick = context_.now();
}

void MacroEditorModel::StopRecording() {
  if (!buffer_.recording) return;
  context_.memory.last_event_tick = 0;
  buffer_.recording = false;
  context_.view.SetRecordButton(kStartRecordingText, false);
  HookStopRecording(context_.hook);
  buffer_.timing_armed = false;
  CommitMacro();
}

void MacroEditorModel::StopRecordingAt(MacroFit fit) {
  StopRecording();
  Refuse(fit, true);
}

void MacroEditorModel::ToggleRecording() {
  if (buffer_.recording) {
    StopRecording();
  } else {
    StartRecording();
  }
}

uint16_t MacroEditorModel::DelayBeforeEvent(uint32_t now) const {
  switch (buffer_.delay_mode) {
    case DelayMode::kRecordDelay:
      // Unsigned difference: right across the wrap of the 32-bit tick.
      return static_cast<uint16_t>(
          std::min<uint32_t>(now - context_.memory.last_event_tick, kLargestDelayMs));
    case DelayMode::kDefaultDelay:
      return buffer_.default_delay;
    case DelayMode::kNoDelay:
      break;
  }
  return kSmallestDelayMs;
}

// The pause before an event belongs to the step before it. The first event of
// an insertion has no recorded step before it: the pause since the start goes
// to the step that will follow the inserted ones, and the selected step keeps
// the delay it had.
void MacroEditorModel::StoreDelayBeforeEvent(ActionBuffer& buffer, uint32_t now) const {
  int target = buffer.insert_pos - 1;
  if (buffer.insert_pos == -1) {
    target = buffer.action_count - 1;
  } else if (buffer.insert_pos == buffer.insert_start) {
    target = buffer.insert_pos;
  }
  if (IsValidStep(buffer, target)) buffer.actions[target].delay_ms = DelayBeforeEvent(now);
}

void MacroEditorModel::RecordHookEvent(uintptr_t first, intptr_t second) {
  const HookEventParameters event{first, second};
  if (event == context_.memory.last_event) return;  // a held key repeats its press
  context_.memory.last_event = event;
  const TranslatedEvent step = TranslateHookEvent(first, second, context_.virtual_key_to_usage);
  const uint32_t now = context_.now();
  // The event is tried on a copy: one the mouse could not hold, with its
  // pause, ends the recording before it, and what was recorded stays whole.
  ActionBuffer next = buffer_;
  if (next.timing_armed) StoreDelayBeforeEvent(next, now);
  // The newest step carries the smallest delay until the next event replaces it.
  const bool inserted = InsertStep(next, {step.key, step.state, kSmallestDelayMs});
  const MacroFit fit = inserted ? FitOf(TracedSize(next)) : MacroFit::kTooManySteps;
  if (fit != MacroFit::kFits) {
    StopRecordingAt(fit);
    return;
  }
  buffer_ = next;
  context_.memory.last_event_tick = now;
  buffer_.timing_armed = true;
  // Stops as soon as not even one more short step would fit.
  MacroSize one_more = MeasureSteps(buffer_);
  ++one_more.steps;
  ++one_more.pairs;
  if (FitOf(one_more) != MacroFit::kFits) StopRecordingAt(FitOf(one_more));
  ShowSteps();
}

void MacroEditorModel::HandleHookEvent(uintptr_t first, intptr_t second) {
  // An event already on its way when the recording stopped is not a step.
  if (record_events_ && buffer_.recording) RecordHookEvent(first, second);
}

void MacroEditorModel::PointerOverRecordButton(bool over) {
  // The click that stops the recording must not become a step.
  if (buffer_.recording) HookEnableMouseButtons(context_.hook, !over);
}

void MacroEditorModel::ReleaseHookForClose() {
  if (buffer_.recording) StopRecording();
}

}  // namespace ms1

#include <gtest/gtest.h>

#include "editor_fakes.h"

namespace ms1::test {
namespace {

using Calls = std::vector<std::string>;

class Recording : public EditorTest {
 protected:
  // A recording afresh into a macro of `count` steps, after step `selected`.
  void StartFresh(DelayMode mode = DelayMode::kNoDelay, int count = 0, int selected = -1) {
    model.StopRecording();
    memory = {};
    LoadStoredMacro(count, 100);
    UserSelectsStep(selected);
    model.SetDelayMode(mode);
    model.StartRecording();
  }
  void Event(uintptr_t first, intptr_t second, uint32_t pause = 0) {
    now += pause;
    model.HandleHookEvent(first, second);
  }
  std::vector<uint8_t> Keys() const {
    std::vector<uint8_t> keys;
    for (int i = 0; i < buffer().action_count; ++i) keys.push_back(buffer().actions[i].key);
    return keys;
  }
};

TEST_F(Recording, StartPointerAndStopCallTheHookInOrder) {
  LoadStoredMacro(0);
  model.StartRecording();
  EXPECT_EQ(hook_calls, (Calls{"installhook", "enablehook 1", "mousewheelenable 0"}));
  EXPECT_EQ(hook_window.context, &window_marker);
  EXPECT_EQ(view.record_text, "stop_recording_text");
  EXPECT_TRUE(view.record_checked);

  hook_calls.clear();
  model.PointerOverRecordButton(false);
  model.PointerOverRecordButton(true);
  model.ToggleRecording();
  EXPECT_EQ(hook_calls,
            (Calls{"enablemousehook 1", "enablemousehook 0", "removehook", "removemousehook",
                   "enablemousehook 0", "enablehook 0", "mousewheelenable 0"}));
  EXPECT_EQ(view.record_text, "start_recording_text");
  EXPECT_FALSE(view.record_checked);

  hook_calls.clear();
  model.PointerOverRecordButton(false);  // no recording: the hook is left alone
  hook = InputHookTable{};
  hook.removehook = [] { hook_calls.push_back("removehook"); };
  model.StartRecording();
  model.StopRecording();
  EXPECT_EQ(hook_calls, (Calls{"removehook"}));
}

TEST_F(Recording, RepeatedEventsCountOnceAndDistinctOnesEach) {
  const struct {
    std::vector<std::pair<uintptr_t, intptr_t>> events;
    std::vector<uint8_t> keys;
  } cases[] = {
      {{{'A', 0}, {'A', 0}, {'A', 0}, {'A', 0}, {'A', 1}}, {4, 4}},  // a held key
      {{{'A', 0}, {'A', 1}, {'A', 0}, {'A', 1}}, {4, 4, 4, 4}},
      {{{0x201, 0}, {0x202, 0}, {0x20B, 1}, {0x20C, 1}}, {0xF1, 0xF1, 0xF5, 0xF5}},
      {{{0x7F, 0}, {0x7F, 1}}, {0, 0}},  // unknown keys
  };
  for (const auto& c : cases) {
    StartFresh();
    for (auto [first, second] : c.events) Event(first, second);
    EXPECT_EQ(Keys(), c.keys);
    EXPECT_EQ(buffer().actions[0].state, kActionPress);
    EXPECT_EQ(buffer().actions[1].state, kActionRelease);
    ExpectViewMirrorsBuffer();
  }
}

TEST_F(Recording, FirstEventEqualToThePreviousRecordingsLastAndLateEventsAreDropped) {
  StartFresh();
  Event('A', 0);
  Event('A', 1);
  model.StopRecording();
  Event('C', 0);  // on its way when the recording stopped: not a step
  EXPECT_EQ(buffer().action_count, 2);
  UserSelectsStep(-1);
  model.StartRecording();
  Event('A', 1);
  Event('B', 0);
  EXPECT_EQ(Keys(), (std::vector<uint8_t>{5}));
}

TEST_F(Recording, NoSelectionReplacesAndASelectedStepGetsTheNewStepsAfterIt) {
  for (int k : {-1, 0, 2, 3}) {
    StartFresh(DelayMode::kNoDelay, 4, k);  // keys 4 4 5 5
    Event('Z', 0);
    Event('Z', 1);
    const std::vector<uint8_t> kept = {4, 4, 5, 5};
    std::vector<uint8_t> expected(kept.begin(), kept.begin() + (k + 1));
    expected.push_back(29);
    expected.push_back(29);
    if (k >= 0) expected.insert(expected.end(), kept.begin() + (k + 1), kept.end());
    EXPECT_EQ(Keys(), expected) << k;
    EXPECT_EQ(buffer().iActionIndex, k + 2) << k;  // the newest inserted step
    ExpectViewMirrorsBuffer();
  }
}

TEST_F(Recording, DelayModesChooseThePauseBeforeEachEvent) {
  const struct {
    DelayMode mode;
    std::u16string field;
    uint32_t pause;
    uint16_t delay;
  } cases[] = {
      {DelayMode::kRecordDelay, u"10", 70000, kLargestDelayMs},
      {DelayMode::kRecordDelay, u"10", 480, 480},
      {DelayMode::kDefaultDelay, u"250", 5000, 250},
      {DelayMode::kDefaultDelay, u"70000", 5, kLargestDelayMs},
      {DelayMode::kNoDelay, u"250", 5000, 10},
  };
  for (const auto& c : cases) {
    view.default_delay_text = c.field;
    now = UINT32_MAX - 100;  // measured across the wrap of the tick
    StartFresh(c.mode);
    Event('A', 0, 3000);
    Event('A', 1, c.pause);
    EXPECT_EQ(buffer().actions[0].delay_ms, c.delay);
    EXPECT_EQ(buffer().actions[1].delay_ms, 10);  // the newest step
  }
}

TEST_F(Recording, FirstInsertedEventsPauseGoesToTheStepAfterTheInsertion) {
  StartFresh(DelayMode::kRecordDelay, 4, 1);
  Event('Z', 0, 300);
  Event('Z', 1, 200);
  const uint16_t delays[] = {100, 100, 200, 10, 300, 100};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(buffer().actions[i].delay_ms, delays[i]) << i;
}

TEST_F(Recording, StopsItselfAtWhatTheMouseHoldsAndSaysWhy) {
  const struct {
    DelayMode mode;
    uint32_t pause;  // before every event, or every fifth one
    bool fifth;
    int steps;
    MacroFit why;
  } cases[] = {{DelayMode::kNoDelay, 5, false, 46, MacroFit::kTooManySteps},
               {DelayMode::kRecordDelay, 2000, false, 11, MacroFit::kTooManyLongDelays},
               {DelayMode::kRecordDelay, 1500, true, 42, MacroFit::kTooManyPairs}};
  for (const auto& c : cases) {
    StartFresh(c.mode);
    for (int i = 0; i < 60; ++i) Event('A' + i / 2 % 26, i % 2, c.fifth && i % 5 ? 5 : c.pause);
    EXPECT_FALSE(buffer().recording);
    EXPECT_EQ(buffer().action_count, c.steps);
    EXPECT_EQ(stored().action_count, c.steps);  // committed, and the mouse plays it whole
    EXPECT_EQ(FitOf(MeasureMacro(stored())), MacroFit::kFits);
    EXPECT_EQ(view.notes.refused, c.why);
    EXPECT_TRUE(view.notes.recording_stopped);
    EXPECT_EQ(hook_calls.back(), "mousewheelenable 0");
  }
}

TEST_F(Recording, ClosingEndsARecordingOnce) {
  StartFresh();
  Event('A', 0);
  const int saves_before = saves;
  hook_calls.clear();
  model.ReleaseHookForClose();
  model.ReleaseHookForClose();
  EXPECT_EQ(saves, saves_before + 1);
  EXPECT_EQ(hook_calls.front(), "removehook");
  EXPECT_EQ(hook_calls.size(), 5u);
  EXPECT_EQ(stored().action_count, 1);
  EXPECT_EQ(hook_calls, (Calls{"removehook", "removemousehook", "enablemousehook 0", "enablehook 0",
                               "mousewheelenable 0"}));
}

TEST_F(Recording, KeyCaptureSetsTheSelectedStepsKeyAndHookEventsDoNot) {
  LoadStoredMacro(3);
  UserSelectsStep(0);
  EXPECT_EQ(model.CaptureKey('Z'), 29);
  EXPECT_EQ(stored().actions[0].key, 29);
  model.HandleHookEvent('B', 0);  // no recording runs
  EXPECT_EQ(stored().actions[0].key, 29);
  EXPECT_EQ(model.CaptureKey(0x7F), 0);
  EXPECT_EQ(stored().actions[0].key, 0);
  EXPECT_EQ(stored().actions[0].state, kActionPress);
  ExpectViewMirrorsBuffer();
}

}  // namespace
}  // namespace ms1::test

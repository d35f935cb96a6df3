#include <gtest/gtest.h>

#include <cstring>

#include "editor_fakes.h"

namespace ms1::test {
namespace {

using StepEdits = EditorTest;

TEST_F(StepEdits, MouseClickNeedsRoomForItsPressAndRelease) {
  const struct { int before, after; } cases[] = {{44, 46}, {45, 45}, {46, 46}};
  for (const auto& c : cases) {
    LoadStoredMacro(c.before);
    const int saves_before = saves;
    model.InsertMouseClick(1);
    EXPECT_EQ(buffer().action_count, c.after);
    EXPECT_EQ(stored().action_count, c.after);
    EXPECT_EQ(saves, saves_before + (c.after != c.before));
    EXPECT_EQ(view.notes.refused, c.after == c.before ? MacroFit::kTooManySteps : MacroFit::kFits);
    ExpectViewMirrorsBuffer();
  }
  macros.clear();
  model.LoadMacro(0);
  model.InsertMouseClick(1);  // no current macro
  EXPECT_EQ(buffer().action_count, 0);
}

TEST_F(StepEdits, MouseClickGoesAfterTheSelectionWithItsButtonAndDelay) {
  const struct {
    int n;
    DelayMode mode;
    std::u16string field;
    uint8_t key;
    uint16_t delay;
  } cases[] = {
      {1, DelayMode::kDefaultDelay, u"300", 0xF1, 300},
      {2, DelayMode::kRecordDelay, u"300", 0xF2, 10},
      {3, DelayMode::kNoDelay, u"300", 0xF3, 10},
      {4, DelayMode::kDefaultDelay, u"70000", 0xF5, kLargestDelayMs},
      {5, DelayMode::kDefaultDelay, u"10", 0xF4, 10},
  };
  for (const auto& c : cases) {
    for (int selected : {-1, 1}) {
      LoadStoredMacro(3, 500);
      UserSelectsStep(selected);
      model.SetDelayMode(c.mode);
      view.default_delay_text = c.field;
      model.InsertMouseClick(c.n);
      const int at = selected + 1;
      EXPECT_EQ(stored().actions[at].key, c.key) << c.n;
      EXPECT_EQ(stored().actions[at].state, kActionPress);
      EXPECT_EQ(stored().actions[at + 1].state, kActionRelease);
      EXPECT_EQ(stored().actions[at].delay_ms, c.delay);
      EXPECT_EQ(stored().actions[at + 1].delay_ms, c.delay);
      EXPECT_EQ(buffer().iActionIndex, at + 1);
      EXPECT_FALSE(buffer().insert_mode);
      ExpectViewMirrorsBuffer();
    }
  }
}

// Long delays set one step after another: the editor keeps each change after
// which the macro fits the mouse (so it plays whole, MacroReport's tests), and
// undoes, saying why, each after which it would not.
TEST_F(StepEdits, KeepsExactlyTheChangesAfterWhichTheMacroFits) {
  for (int count : {39, 40, 41, 46}) {
    for (const char16_t* delay : {u"1270", u"1271", u"51199", u"70000"}) {
      LoadStoredMacro(count);
      int kept = 0;
      for (int step = 0; step + 1 < count; ++step) {
        MacroRecord tried = stored();
        tried.actions[step].delay_ms = DelayFromText(delay);
        UserSelectsStep(step);
        model.SetStepDelay(delay);
        const bool accepted = std::memcmp(&tried, &stored(), sizeof tried) == 0;
        kept += accepted;
        EXPECT_EQ(accepted ? MacroFit::kFits : view.notes.refused, FitOf(MeasureMacro(tried)));
      }
      EXPECT_EQ(kept, delay == std::u16string_view(u"1270") ? count - 1 : std::min(10, 50 - count));
    }
  }
}

// A macro from an older store that the mouse cannot hold whole can be
// trimmed, but not grown.
TEST_F(StepEdits, AMacroTooLargeForTheMouseCanBeTrimmed) {
  LoadStoredMacro(kMaxMacroActions);
  for (int i = 0; i < 6; ++i) macros.back()->actions[i].delay_ms = 2000;  // 52 pairs
  model.SelectMacro(0);
  UserSelectsStep(8);
  model.SetStepDelay(u"2000");
  EXPECT_EQ(view.notes.refused, MacroFit::kTooManyPairs);
  EXPECT_EQ(view.notes.stored, MacroFit::kTooManyPairs);
  UserSelectsStep(40);
  model.DeleteStep();
  UserSelectsStep(3);
  model.SetStepDelay(u"300");  // 45 steps, 5 long delays: 50 pairs
  EXPECT_EQ(stored().action_count, 45);
  EXPECT_EQ(stored().actions[3].delay_ms, 300);
  EXPECT_EQ(view.notes, MacroNotes{});
}

TEST_F(StepEdits, StepDelayIsLimitedAndTheLastStepsIsIgnored) {
  const struct {
    std::u16string text;
    uint16_t stored;
  } cases[] = {{u"5", 10}, {u"70000", kLargestDelayMs}, {u"300", 300}};
  LoadStoredMacro(3, 500);
  for (const auto& c : cases) {
    UserSelectsStep(0);
    EXPECT_EQ(model.SetStepDelay(c.text), c.stored);
    EXPECT_EQ(stored().actions[0].delay_ms, c.stored);
  }
  UserSelectsStep(2);
  const int saves_before = saves;
  EXPECT_EQ(model.SetStepDelay(u"300"), std::nullopt);
  EXPECT_EQ(stored().actions[2].delay_ms, 500);
  EXPECT_EQ(saves, saves_before + 1);  // committed all the same
}

TEST_F(StepEdits, MovesSwapWithTheNeighbourAndFollowTheSelection) {
  LoadStoredMacro(3);  // 4 press, 4 release, 5 press; the last row selected
  const struct {
    bool up;
    std::vector<uint8_t> keys;
    int selected;
  } steps[] = {
      {true, {4, 5, 4}, 1},  {true, {5, 4, 4}, 0},  {true, {5, 4, 4}, 0},
      {false, {4, 5, 4}, 1}, {false, {4, 4, 5}, 2}, {false, {4, 4, 5}, 2},
  };
  for (const auto& s : steps) {
    s.up ? model.MoveStepUp() : model.MoveStepDown();
    EXPECT_EQ(std::vector<uint8_t>(
                  {stored().actions[0].key, stored().actions[1].key, stored().actions[2].key}),
              s.keys);
    EXPECT_EQ(buffer().iActionIndex, s.selected);
    ExpectViewMirrorsBuffer();
  }
  EXPECT_EQ(buffer().actions[1].state, kActionRelease);
}

TEST_F(StepEdits, DeleteSelectsTheSamePlaceOrTheNewLastRow) {
  const struct {
    int count, selected, after;
  } cases[] = {{3, 1, 1}, {3, 2, 1}, {1, 0, -1}, {3, -1, -1}};
  for (const auto& c : cases) {
    LoadStoredMacro(c.count, 500);
    UserSelectsStep(c.selected);
    model.DeleteStep();
    EXPECT_EQ(stored().action_count, c.selected < 0 ? c.count : c.count - 1);
    EXPECT_EQ(buffer().iActionIndex, c.after);
    ExpectViewMirrorsBuffer();
  }
}

TEST_F(StepEdits, ClearEmptiesTheCurrentMacroOnly) {
  LoadStoredMacro(5);
  model.ClearAllSteps();
  EXPECT_EQ(stored().action_count, 0);
  EXPECT_EQ(stored().actions[0].key, 0);
  ExpectViewMirrorsBuffer();

  model.LoadMacro(-1);
  const int saves_before = saves;
  model.ClearAllSteps();
  EXPECT_EQ(saves, saves_before);
  EXPECT_FALSE(model.HasCurrentMacro());
}

TEST_F(StepEdits, LoadingShowsNameAndStepsAndCancelReturnsToTheRecordingsStart) {
  LoadStoredMacro(3);  // ends with B pressed
  EXPECT_EQ(view.notes, (MacroNotes{.held_keys = {5}}));
  LoadStoredMacro(4);
  EXPECT_EQ(view.name_text, u"M1");
  EXPECT_EQ(buffer().iActionIndex, 3);
  EXPECT_EQ(view.notes, MacroNotes{});
  ExpectViewMirrorsBuffer();

  UserSelectsStep(1);
  model.StartRecording();
  model.HandleHookEvent('Z', 0);
  model.StopRecording();
  model.ReloadForCancel();
  EXPECT_EQ(buffer().iActionIndex, 2);  // where the inserted steps began
  ExpectViewMirrorsBuffer();

  model.SelectMacro(5);
  EXPECT_FALSE(model.HasCurrentMacro());
  EXPECT_EQ(buffer().action_count, 0);
  ExpectViewMirrorsBuffer();
}

TEST_F(StepEdits, AStoreThatCannotBeWrittenIsReported) {
  LoadStoredMacro(2);
  WriteBytes(dir / "ms_1", "a file where the store's folder belongs");
  model.SetStepKey(9);
  EXPECT_EQ(failed_saves, 1);
  EXPECT_EQ(stored().actions[1].key, 9);  // the list keeps the edit
}

TEST_F(StepEdits, CommitsAndMacroChoicesAreTracedOnStandardError) {
  LoadStoredMacro(2, 2000);  // the last step's stored delay counts too
  ::testing::internal::CaptureStderr();
  model.CommitMacro();
  model.SelectMacro(0);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "iTotalNum = 4\r\niActionIndex=1, iNextActionIndex=-1\r\n");
}

}  // namespace
}  // namespace ms1::test

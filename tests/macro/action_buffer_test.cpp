#include "macro/action_buffer.h"

#include <gtest/gtest.h>

#include <vector>

#include "macro/step_rows.h"

namespace ms1 {
namespace {

ActionBuffer BufferWithDelays(const std::vector<uint16_t>& delays) {
  ActionBuffer buffer;
  for (uint16_t d : delays) buffer.actions[buffer.action_count++] = {4, kActionPress, d};
  return buffer;
}

TEST(ActionBuffer, KeysHeldAtTheEndAreThoseNeverReleased) {
  ActionBuffer buffer;  // any state but 1 releases; a second press holds nothing more
  for (uint8_t key : {6, 4, 4, 0xF1, 4, 6}) buffer.actions[buffer.action_count++] = {key, 1, 10};
  buffer.actions[0].state = buffer.actions[4].state = 7;
  EXPECT_EQ(KeysHeldAtEnd(buffer), (std::vector<uint8_t>{0xF1, 6}));
}

TEST(ActionBuffer, InsertStepAppendsOrInsertsAndDropsWhenFull) {
  ActionBuffer buffer = BufferWithDelays({1, 2, 3});
  EXPECT_TRUE(InsertStep(buffer, {9, kActionRelease, 4}));
  EXPECT_EQ(buffer.actions[3].delay_ms, 4);

  buffer.insert_pos = 1;
  buffer.iActionIndex = 0;
  EXPECT_TRUE(InsertStep(buffer, {9, kActionPress, 7}));
  const uint16_t expected[] = {1, 7, 2, 3, 4};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(buffer.actions[i].delay_ms, expected[i]) << i;
  EXPECT_EQ(buffer.insert_pos, 2);
  EXPECT_EQ(buffer.iActionIndex, 1);

  buffer.insert_pos = 40;  // past the end: no gap of stale steps
  EXPECT_TRUE(InsertStep(buffer, {9, kActionPress, 8}));
  EXPECT_EQ(buffer.actions[5].delay_ms, 8);

  ActionBuffer full = BufferWithDelays(std::vector<uint16_t>(kMaxMacroActions, 10));
  EXPECT_FALSE(InsertStep(full, {9, kActionPress, 99}));
  EXPECT_EQ(full.action_count, kMaxMacroActions);
}

TEST(StepRows, LastRowShowsTheSmallestDelayAndOnlyStateOneIsAPress) {
  ActionBuffer buffer = BufferWithDelays({300, 400});
  buffer.actions[0] = {0xF4, 3, 300};
  EXPECT_EQ(StepRowAt(buffer, 0), (StepRow{0xF4, true, false, 300}));
  EXPECT_EQ(StepRowAt(buffer, 1), (StepRow{4, false, true, 10}));

  const struct {
    int selected;
    bool open;
    StepEditorPage page;
    int mouse_item, delay_shown;
  } cases[] = {{0, true, StepEditorPage::kMouse, 4, 300},
               {1, true, StepEditorPage::kKeyboard, 0, 10},
               {1, false, StepEditorPage::kEmpty, 0, 0},
               {-1, true, StepEditorPage::kEmpty, 0, 0}};
  for (const auto& c : cases) {
    buffer.iActionIndex = c.selected;
    const StepEditorContent editor = StepEditorFor(buffer, c.open);
    EXPECT_EQ(editor.page, c.page);
    EXPECT_EQ(editor.mouse_item, c.mouse_item);
    EXPECT_EQ(editor.delay_shown, c.delay_shown);
  }
}

}  // namespace
}  // namespace ms1

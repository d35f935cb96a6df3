#include "model/button_assignment.h"

#include <gtest/gtest.h>

#include <cstring>

#include "model/profile.h"
#include "model/text_field.h"

namespace ms1 {
namespace {

TEST(ButtonAssignmentTest, TheMouseKeepsALeftClickAmongButtons0To15) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, uint8_t>> before;  // buttons set first
    int button;
    uint8_t code;
    bool keeps;
  };
  // The default mode record 0 has its only left click on button 0.
  const Case cases[] = {
      {"the only left click taken away", {}, 0, 2, false},
      {"the only left click kept", {}, 0, 1, true},
      {"another button changed", {}, 3, 71, true},
      {"a second left click elsewhere", {{5, 1}}, 0, 2, true},
      {"left click on button 16 does not count", {{16, 1}}, 0, 0, false},
      {"left click moved to button 15", {{15, 1}}, 0, 2, true},
      {"button 0 off, left click given to button 7", {{0, 0}}, 7, 1, true},
  };
  for (const Case& c : cases) {
    auto profile = CreateProfile(u"P");
    ModeRecord& mode = ModeOf(*profile, 0);
    for (const auto& [button, code] : c.before) ButtonOf(mode, button).function_code = code;
    EXPECT_EQ(KeepsALeftClick(mode, c.button, c.code), c.keeps) << c.what;
  }
}

// Buttons 1 to 10 of mode records 0 and 1 are assigned together: each record
// the assignment writes must keep a left click.
TEST(ButtonAssignmentTest, EveryRecordTheAssignmentWritesKeepsALeftClick) {
  struct Case {
    const char* what;
    int active;
    std::vector<std::pair<int, int>> left_clicks;  // (record, button) made left clicks first
    int button;
    bool keeps;  // once `button` becomes a right click
  };
  const Case cases[] = {
      {"mode 2 has another left click, mode 1 has none", 1, {{1, 12}}, 0, false},
      {"the same seen from mode 1", 0, {{1, 12}}, 0, false},
      {"both have another left click", 1, {{0, 12}, {1, 12}}, 0, true},
      {"mode 3 is written alone", 2, {{2, 12}}, 0, true},
      {"button 13 is written in the active record alone", 1, {}, 12, true},
  };
  for (const Case& c : cases) {
    auto profile = CreateProfile(u"P");
    profile->active_mode = c.active;
    for (const auto& [k, button] : c.left_clicks) {
      ButtonOf(ModeOf(*profile, k), button).function_code = kFunctionLeftClick;
    }
    EXPECT_EQ(AssignmentKeepsALeftClick(*profile, c.button, 2), c.keeps) << c.what;
  }
}

TEST(ButtonAssignmentTest, OnlyFlagsOfExactlyOneBecomeModifierBits) {
  struct Case {
    std::array<uint8_t, 4> flags;
    uint8_t modifiers;
  };
  const Case cases[] = {
      {{1, 0, 0, 0}, 0x01}, {{0, 1, 0, 1}, 0x0A}, {{1, 1, 1, 1}, 0x0F},
      {{2, 1, 0xFF, 0}, 0x02}, {{0, 0, 0, 0}, 0x00},
  };
  for (const Case& c : cases) EXPECT_EQ(ShortcutModifiersOf(c.flags), c.modifiers);
  for (uint8_t m = 0; m < 16; ++m) EXPECT_EQ(ShortcutModifiersOf(ShortcutFlagsOf(m)), m);
  // Bits above Win are no modifier of the dialog.
  EXPECT_EQ(ShortcutFlagsOf(0xF5), (std::array<uint8_t, 4>{1, 0, 1, 0}));
}

TEST(ButtonAssignmentTest, AButtonBecomingAShortcutStartsWithoutKeyOrModifiers) {
  ButtonRecord button{};
  button.function_code = 3;
  button.shortcut_key = 0x2C;
  std::memset(button.reserved_4, 0x5A, sizeof button.reserved_4);
  button.shortcut_modifiers = 0x05;
  PrepareShortcut(button);
  EXPECT_EQ(button.shortcut_key, 0);
  EXPECT_EQ(button.reserved_4[0] | button.reserved_4[1] | button.reserved_4[2], 0);
  EXPECT_EQ(button.shortcut_modifiers, 0);  // an earlier shortcut's are no longer ticked

  button.function_code = kFunctionShortcut;
  button.shortcut_key = 0x06;
  button.shortcut_modifiers = 0x05;
  PrepareShortcut(button);
  EXPECT_EQ(button.shortcut_key, 0x06);
  EXPECT_EQ(button.shortcut_modifiers, 0x05);
}

TEST(ButtonAssignmentTest, AnAssignedMacroIsCopiedIntoTheButton) {
  MacroRecord macro{};
  SetFieldText(macro.name, u"Burst");
  macro.action_count = 2;
  macro.actions[0] = {0x04, 1, 30};
  macro.actions[1] = {0x04, 2, 10};
  ButtonRecord button{};
  button.macro_index = -1;
  AssignMacro(button, macro, 3, 1, 7);
  EXPECT_EQ(button.macro_index, 3);
  EXPECT_EQ(button.macro_repeat_mode, 1);
  EXPECT_EQ(button.macro_loop_count, 7);
  EXPECT_EQ(button.macro_action_count, 2);
  EXPECT_EQ(FieldText(button.macro_name), u"Burst");
  EXPECT_EQ(button.macro_actions[0].delay_ms, 30);
  EXPECT_EQ(button.macro_actions[1].state, 2);

  button.function_code = kFunctionMacro;
  SetButtonFunction(button, kFunctionMacro);
  EXPECT_EQ(FieldText(button.macro_name), u"Burst");
  // Another function: the macro is forgotten, so that its later rename or
  // deletion leaves the button alone.
  SetButtonFunction(button, kFunctionShortcut);
  EXPECT_EQ(button.function_code, kFunctionShortcut);
  EXPECT_TRUE(FieldText(button.macro_name).empty());
  EXPECT_EQ(button.macro_index, -1);
  EXPECT_EQ(button.macro_action_count | button.macro_repeat_mode | button.macro_loop_count, 0);
  EXPECT_EQ(button.macro_actions[0].delay_ms, 0);
}

}  // namespace
}  // namespace ms1

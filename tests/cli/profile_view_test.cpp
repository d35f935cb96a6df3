#include "cli/profile_view.h"

#include <gtest/gtest.h>

#include "model/profile.h"

namespace ms1 {
namespace {

TEST(ProfileView, ShowsShortcutsMacrosAndOutOfRangeValues) {
  auto p = CreateProfile(u"x");
  ButtonRecord& shortcut = p->modes[0].buttons[5];
  shortcut.function_code = kFunctionShortcut;
  shortcut.shortcut_modifiers = 0x05;
  shortcut.shortcut_key = 0x04;
  ButtonRecord& macro = p->modes[0].buttons[6];
  macro.function_code = kFunctionMacro;
  macro.macro_name[0] = u'M';
  macro.macro_loop_count = 3;
  macro.macro_action_count = 2;
  macro.macro_actions[0] = {0x04, kActionPress, 50};
  macro.macro_actions[1] = {0x04, kActionRelease, 0};
  p->modes[0].buttons[7].function_code = 19;  // device bytes but no label
  p->modes[0].polling_rate = 9;

  const nlohmann::json view = cli::ProfileToJson(*p);
  const auto& buttons = view["modes"][0]["buttons"];
  EXPECT_EQ(buttons[5]["shortcut"], "Ctrl+Alt+key 0x04");
  EXPECT_EQ(buttons[6]["macro"]["name"], "M");
  EXPECT_EQ(buttons[6]["macro"]["steps"].size(), 2u);
  EXPECT_EQ(buttons[6]["macro"]["steps"][1]["action"], "release");
  EXPECT_TRUE(view["modes"][0]["polling_rate_hz"].is_null());

  const std::string text = cli::ProfileJsonToText(view);
  EXPECT_NE(text.find("button 6: shortcut Ctrl+Alt+key 0x04"), std::string::npos);
  EXPECT_NE(text.find("button 7: macro \"M\" (repeat mode 0, loops 3)"), std::string::npos);
  EXPECT_NE(text.find("press key 0x04, wait 50 ms"), std::string::npos);
  EXPECT_NE(text.find("button 8: (code 19)"), std::string::npos);
  EXPECT_NE(text.find("unknown (index 9)"), std::string::npos);
}

TEST(ProfileView, NeverReadsPastTheStepsOfAForeignRecord) {
  auto p = CreateProfile(u"x");
  p->modes[3].buttons[0].function_code = kFunctionMacro;
  p->modes[3].buttons[0].macro_action_count = 60000;
  const nlohmann::json view = cli::ProfileToJson(*p);
  EXPECT_EQ(view["modes"][3]["buttons"][0]["macro"]["steps"].size(), 46u);
}

}  // namespace
}  // namespace ms1

#include "cli/profile_view.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/skin_texts.h"
#include "keys/key_naming.h"
#include "model/profile.h"
#include "support/temp_dir.h"

namespace ms1 {
namespace {

// Names on a US layout with texts made from the language keys.
cli::KeyNames UsNames() {
  auto layout = std::shared_ptr<keylayout::Layout>(keylayout::Layout::FromNames("us"));
  auto naming = std::make_shared<KeyNaming>(*layout, cli::ReadableLanguageKey);
  return {[layout, naming](uint32_t code) { return naming->UsageDisplayName(code); },
          {"Ctrl", "Shift", "Alt", "Super"}};
}

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
  ButtonRecord& unnamed = p->modes[0].buttons[8];
  unnamed.function_code = kFunctionShortcut;
  unnamed.shortcut_modifiers = 0x08;
  unnamed.shortcut_key = 0x32;  // a key code without a name
  p->modes[0].polling_rate = 9;

  const nlohmann::json view = cli::ProfileToJson(*p, UsNames());
  const auto& buttons = view["modes"][0]["buttons"];
  EXPECT_EQ(buttons[5]["shortcut"], "Ctrl+Alt+A");
  EXPECT_EQ(buttons[5]["shortcut_modifiers"], nlohmann::json({"ctrl", "alt"}));
  EXPECT_EQ(buttons[5]["shortcut_key"], 4);
  EXPECT_EQ(buttons[5]["shortcut_key_name"], "A");
  EXPECT_EQ(buttons[8]["shortcut"], "Super+key 0x32");
  EXPECT_EQ(buttons[8]["shortcut_key_name"], "");
  EXPECT_EQ(buttons[6]["macro"]["steps"][0]["key"], 4);
  EXPECT_EQ(buttons[6]["macro"]["steps"][0]["key_name"], "A");
  EXPECT_EQ(buttons[6]["macro"]["name"], "M");
  EXPECT_EQ(buttons[6]["macro"]["steps"].size(), 2u);
  EXPECT_EQ(buttons[6]["macro"]["steps"][1]["action"], "release");
  EXPECT_TRUE(view["modes"][0]["polling_rate_hz"].is_null());

  const std::string text = cli::ProfileJsonToText(view);
  EXPECT_NE(text.find("button 6: shortcut Ctrl+Alt+A\n"), std::string::npos);
  EXPECT_NE(text.find("button 9: shortcut Super+key 0x32\n"), std::string::npos);
  EXPECT_NE(text.find("button 7: macro \"M\" (repeat mode 0, loops 3)"), std::string::npos);
  EXPECT_NE(text.find("press A (0x04), wait 50 ms"), std::string::npos);
  EXPECT_NE(text.find("button 8: (code 19)"), std::string::npos);
  EXPECT_NE(text.find("unknown (index 9)"), std::string::npos);
}

TEST(ProfileView, NeverReadsPastTheStepsOfAForeignRecord) {
  auto p = CreateProfile(u"x");
  p->modes[3].buttons[0].function_code = kFunctionMacro;
  p->modes[3].buttons[0].macro_action_count = 60000;
  const nlohmann::json view = cli::ProfileToJson(*p, UsNames());
  EXPECT_EQ(view["modes"][3]["buttons"][0]["macro"]["steps"].size(), 46u);
}

TEST(SkinTexts, ReadableKeysWithoutTheLanguageFile) {
  const std::pair<const char*, const char*> cases[] = {
      {"key_Page Up", "Page Up"}, {"key_Num_1", "Num 1"},   {"key_\\", "\\"},
      {"L_Button", "L Button"},   {"Kana/Roma", "Kana/Roma"}, {"`", "`"},
      {"keyboard_ctrl_text", "Ctrl"}, {"keyboard_win_text", "Win"}, {"key_F12", "F12"},
      {"left_click_text", "left click"},
  };
  for (const auto& [key, text] : cases) EXPECT_EQ(cli::ReadableLanguageKey(key), text) << key;
}

TEST(SkinTexts, TheLanguageFileBesideTheToolOrInTheBuildTreesProgramFolder) {
  const auto root = test::MakeTempDir("skin-texts");
  const auto write = [](const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << text;
  };
  const std::string lan =
      "<?xml version=\"1.0\"?>\n<!-- texts --><Language>\n"
      "  <Text key=\"key_LCtrl\">Left Ctrl</Text>\n  <Text key=\"key_\\\">Extra &amp; more</Text>\n"
      "</Language>\n";
  write(root / "build" / "app" / "res" / "lan.xml", lan);
  write(root / "build" / "cli" / "ms1ctl", "");
  write(root / "install" / "res" / "lan.xml", lan);
  write(root / "bare" / "ms1ctl", "");

  EXPECT_EQ(cli::FindSkinLanguageFile((root / "build" / "cli").string() + "/"),
            (root / "build" / "app" / "res" / "lan.xml").string());
  EXPECT_EQ(cli::FindSkinLanguageFile((root / "install").string()),
            (root / "install" / "res" / "lan.xml").string());
  EXPECT_EQ(cli::FindSkinLanguageFile((root / "bare").string() + "/"), "");

  const LanguageText found = cli::SkinTexts((root / "install").string() + "/");
  EXPECT_EQ(found("key_LCtrl"), "Left Ctrl");
  EXPECT_EQ(found("key_\\"), "Extra & more");
  EXPECT_EQ(found("key_Missing"), "key_Missing");  // as the program shows it
  const LanguageText fallback = cli::SkinTexts((root / "bare").string() + "/");
  EXPECT_EQ(fallback("key_LCtrl"), "LCtrl");
  test::RemoveTree(root);
}

}  // namespace
}  // namespace ms1

// ms1ctl as a user runs it: the real binary, real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "model/profile.h"
#include "model/profile_file.h"
#include "support/run.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

namespace fs = std::filesystem;
using test::Lines;

class Ms1ctlTest : public test::TempDirTest {
 protected:
  test::RunResult Ctl(std::vector<std::string> args) {
    args.insert(args.begin(), test::paths::Ms1ctlFile());
    return test::Run(args);
  }
  std::string NewProfile(const std::string& name) {
    const std::string file = (dir / (name + ".pro")).string();
    const auto r = Ctl({"new-profile", name, "-o", file});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return file;
  }
};

TEST_F(Ms1ctlTest, ForcedApplyOfADefaultProfilePrintsTwelveReports) {
  const std::string file = NewProfile("Default");
  EXPECT_EQ(fs::file_size(file), 165004u);
  const auto r = Ctl({"reports", file});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines.front(), "0C 0A 01 FE 02 FD 00 00 00 00");
  EXPECT_EQ(lines.back(), lines.front());
  EXPECT_EQ(lines[1].size(), 56u * 3 - 1);
}

TEST_F(Ms1ctlTest, ApplyAgainstTheSameProfileSendsOnlyModeSelects) {
  const std::string file = NewProfile("Same");
  const auto r = Ctl({"reports", file, "--last-applied", file});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(Lines(r.out), (std::vector<std::string>{"0C 0A 01 FE 02 FD 00 00 00 00",
                                                    "0C 0A 01 FE 02 FD 00 00 00 00"}));
}

TEST_F(Ms1ctlTest, ShowPrintsTextAndJson) {
  const std::string file = NewProfile("Büro");
  const auto text = Ctl({"show", file});
  ASSERT_EQ(text.exit_code, 0) << text.err;
  EXPECT_NE(text.out.find("Profile \"Büro\""), std::string::npos);
  EXPECT_NE(text.out.find("250 Hz"), std::string::npos);
  EXPECT_NE(text.out.find("button 11: Mute\n"), std::string::npos) << "the program's own text";
  EXPECT_NE(text.out.find("4=6400"), std::string::npos);

  const auto json = Ctl({"show", file, "--json"});
  ASSERT_EQ(json.exit_code, 0) << json.err;
  const auto view = nlohmann::json::parse(json.out);
  EXPECT_EQ(view["name"], "Büro");
  EXPECT_EQ(view["modes"].size(), 5u);
  EXPECT_EQ(view["modes"][1]["buttons"][14]["function"], "titl_right_text");
  EXPECT_EQ(view["modes"][0]["buttons"][10]["function_text"], "Mute");
  EXPECT_EQ(view["modes"][0]["dpi_levels"][0]["color"], "#FF0000");
  EXPECT_EQ(view["modes"][0]["sleep_timer"], 0.5);
}

// Keys are named as the window names them: on the layout of the moment, with
// the program's English texts.
TEST_F(Ms1ctlTest, ShowNamesShortcutKeysOnTheActiveLayout) {
  auto profile = CreateProfile(u"Keys");
  ButtonRecord& b = profile->modes[0].buttons[0];
  b.function_code = kFunctionShortcut;
  b.shortcut_modifiers = 0x03;
  b.shortcut_key = 0x14;  // the US Q key, A on a French keyboard
  profile->modes[0].buttons[1].function_code = kFunctionShortcut;
  profile->modes[0].buttons[1].shortcut_modifiers = 0x01;
  profile->modes[0].buttons[1].shortcut_key = 0xE4;
  const std::string file = (dir / "keys.pro").string();
  std::string error;
  ASSERT_TRUE(WriteProfileFile(file, *profile, error)) << error;

  test::ScopedEnv env;
  env.Clear("DISPLAY").Set("XKB_DEFAULT_LAYOUT", "fr").Clear("XKB_DEFAULT_VARIANT");
  const auto text = Ctl({"show", file});
  ASSERT_EQ(text.exit_code, 0) << text.err;
  EXPECT_NE(text.out.find("button 1: shortcut Ctrl+Shift+A\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("button 2: shortcut Ctrl+Right Ctrl\n"), std::string::npos) << text.out;
  EXPECT_EQ(text.err, "");

  const auto view = nlohmann::json::parse(Ctl({"show", file, "--json"}).out);
  const auto& button = view["modes"][0]["buttons"][0];
  EXPECT_EQ(button["shortcut"], "Ctrl+Shift+A");
  EXPECT_EQ(button["shortcut_key"], 0x14);
  EXPECT_EQ(button["shortcut_key_name"], "A");
  EXPECT_EQ(button["shortcut_modifiers"], nlohmann::json({"ctrl", "shift"}));
}

TEST_F(Ms1ctlTest, ErrorsGoToStandardErrorWithNonZeroExit) {
  const auto missing = Ctl({"show", (dir / "nope.pro").string()});
  EXPECT_NE(missing.exit_code, 0);
  EXPECT_TRUE(missing.out.empty());
  EXPECT_NE(missing.err.find("nope.pro"), std::string::npos);

  std::ofstream(dir / "short.pro", std::ios::binary) << "too short";
  const auto wrong = Ctl({"reports", (dir / "short.pro").string()});
  EXPECT_NE(wrong.exit_code, 0);
  EXPECT_NE(wrong.err.find("not a profile file"), std::string::npos);

  const auto long_name = Ctl({"new-profile", std::string(50, 'x'), "-o", (dir / "l.pro").string()});
  EXPECT_NE(long_name.exit_code, 0);
  EXPECT_FALSE(fs::exists(dir / "l.pro"));

  EXPECT_NE(Ctl({"reports"}).exit_code, 0);
  EXPECT_NE(Ctl({}).exit_code, 0);
}

}  // namespace
}  // namespace ms1

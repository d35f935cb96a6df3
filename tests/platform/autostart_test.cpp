#include "platform/autostart.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace ms1 {
namespace {

namespace fs = std::filesystem;

TEST(Autostart, FileFollowsTheXdgConfigFolder) {
  const char* entry = "io.ms1config.Ms1Config.desktop";
  EXPECT_EQ(AutostartFileFor("/cfg", "/home/u"), fs::path("/cfg/autostart") / entry);
  EXPECT_EQ(AutostartFileFor("relative", "/home/u"), fs::path("/home/u/.config/autostart") / entry);
  EXPECT_EQ(AutostartFileFor(nullptr, "/home/u"), fs::path("/home/u/.config/autostart") / entry);
  EXPECT_EQ(AutostartFileFor("", ""), fs::path());
}

// The Exec key quotes the path the way the desktop entry rules read it back.
TEST(Autostart, EntryStartsTheProgramInTheTray) {
  const struct {
    const char* program;
    const char* exec;
  } cases[] = {
      {"/usr/lib/ms1-config/ms1-config", R"(Exec="/usr/lib/ms1-config/ms1-config" --tray)"},
      {"/home/a b/ms1-config", R"(Exec="/home/a b/ms1-config" --tray)"},
      {"/x/$HOME\"/ms1-config", R"(Exec="/x/\\$HOME\\"/ms1-config" --tray)"},
  };
  for (const auto& c : cases) {
    EXPECT_NE(AutostartEntryText(c.program).find(std::string(c.exec) + "\n"), std::string::npos)
        << AutostartEntryText(c.program);
  }
}

TEST(Autostart, IsWrittenAndRemoved) {
  const fs::path dir = test::MakeTempDir("ms1-autostart");
  const fs::path file = dir / "config/autostart/entry.desktop";
  EXPECT_FALSE(AutostartEnabled(file));
  EXPECT_TRUE(SetAutostart(file, true, "/opt/ms1-config"));
  EXPECT_TRUE(AutostartEnabled(file));
  EXPECT_TRUE(SetAutostart(file, false, "/opt/ms1-config"));
  EXPECT_FALSE(AutostartEnabled(file));
  EXPECT_TRUE(SetAutostart(file, false, "/opt/ms1-config"));  // already gone
  EXPECT_FALSE(SetAutostart(fs::path(), true, "/opt/ms1-config"));
  test::RemoveTree(dir);
}

}  // namespace
}  // namespace ms1

// The program's key names: every language key the tables can ask for has an
// English text in the real language file, and on a private X server the names
// follow the server's layout from one call to the next.
#include "keys/key_names.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/language.h"
#include "support/x_session.h"

namespace ms1 {
namespace {

TEST(KeyNames, EveryLanguageKeyTheTablesUseHasAText) {
  std::set<std::string> asked;
  const LanguageText record = [&](std::string_view key) {
    asked.emplace(key);
    return std::string(key);
  };
  for (const char* layout_name : {"us", "fr", "de"}) {
    const auto layout = keylayout::Layout::FromNames(layout_name);
    ASSERT_NE(layout, nullptr);
    const KeyNaming naming(*layout, record);
    for (uint32_t code = 0; code < 256; ++code) {
      naming.UsageDisplayName(code);
      naming.VirtualKeyDisplayName(code);
    }
  }
  EXPECT_GE(asked.size(), 60u);  // the walk reached the tables
  for (const std::string& key : asked) {
    EXPECT_TRUE(Lan().Contains(QString::fromStdString(key))) << "no text for \"" << key << "\"";
  }
}

using KeyNamesOnX = test::KeyboardOnX;

TEST_F(KeyNamesOnX, NamesFollowTheServerLayoutWithoutRestarting) {
  SetLayout("fr");
  EXPECT_EQ(UsageDisplayName(0x04), QStringLiteral("Q"));
  EXPECT_EQ(UsageDisplayName(0x14), QStringLiteral("A"));
  EXPECT_EQ(VirtualKeyToUsage('A').usage, 0x14u);
  EXPECT_EQ(VirtualKeyDisplayName('A'), QStringLiteral("A"));
  EXPECT_EQ(UsageDisplayName(0xE0), QStringLiteral("Left Ctrl"));
  EXPECT_EQ(UsageDisplayName(0xF4), QStringLiteral("Back button"));
  EXPECT_EQ(UsageDisplayName(0x3E), QStringLiteral("F5"));
  const KeyNamesNow french_moment;

  SetLayout("de");
  EXPECT_EQ(UsageDisplayName(0x1C), QStringLiteral("Z"));
  EXPECT_EQ(UsageDisplayName(0x04), QStringLiteral("A"));
  EXPECT_EQ(VirtualKeyToUsage('Z').usage, 0x1Cu);
  EXPECT_EQ(VirtualKeyToUsage('A').usage, 0x04u);
  // A batch keeps the layout of the moment it was made.
  EXPECT_EQ(french_moment.UsageDisplayName(0x04), QStringLiteral("Q"));
  const KeyNamesNow german_moment;
  EXPECT_EQ(german_moment.UsageDisplayName(0x1D), QStringLiteral("Y"));
  EXPECT_EQ(german_moment.VirtualKeyToUsage(0xBD).usage, 0x38u);

  SetLayout("us");
  EXPECT_EQ(UsageDisplayName(0x1C), QStringLiteral("Y"));
}

}  // namespace
}  // namespace ms1

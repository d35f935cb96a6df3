#include "model/button_report.h"

#include <gtest/gtest.h>

#include "model/profile.h"
#include "support/hex.h"

namespace ms1 {
namespace {

using test::Hex;

Report Triples(const Report& r) { return Report(r.begin() + 3, r.begin() + 57); }

TEST(ButtonReport, DefaultModeZero) {
  auto p = CreateProfile(u"x");
  const Report r = EncodeButtonReport(*p, 0, {});
  ASSERT_EQ(r.size(), 59u);
  EXPECT_EQ(r[0], 0x08);
  EXPECT_EQ(r[1], 0x3B);
  EXPECT_EQ(r[2], 0x01);
  EXPECT_EQ(Triples(r), Hex("02 00 00 03 00 00 04 00 00 0D 00 00 01 00 00 01 00 00 06 00 00 05 "
                            "00 00 01 00 00 01 00 00 1A 00 00 01 00 00 01 00 00 01 00 00 1B 00 "
                            "00 1C 00 00 09 00 00 0A 00 00"));
  EXPECT_TRUE(test::ChecksumAt(r, 57));
}

TEST(ButtonReport, ShortcutsMacrosAndCodesWithoutRow) {
  auto p = CreateProfile(u"x");
  ModeRecord& m = p->modes[1];
  m.buttons[5].function_code = kFunctionShortcut;
  m.buttons[5].shortcut_modifiers = 0x05;  // Ctrl+Alt
  m.buttons[5].shortcut_key = 0x04;        // A
  m.buttons[6].function_code = kFunctionMacro;
  m.buttons[7].function_code = kFunctionMacro;
  m.buttons[8].function_code = 51;   // label only: no device bytes
  m.buttons[9].function_code = 200;  // unknown
  m.buttons[10].function_code = 115;
  MacroNumberRow numbers{};
  numbers[7] = 3;
  const Report r = EncodeButtonReport(*p, 1, numbers);
  EXPECT_EQ(r[2], 2);
  // Buttons 5 to 10; button 6's macro has numbering entry 0.
  EXPECT_EQ(Report(r.begin() + 18, r.begin() + 36),
            Hex("11 05 04 12 00 00 12 00 03 00 00 00 00 00 00 14 00 00"));
}

}  // namespace
}  // namespace ms1

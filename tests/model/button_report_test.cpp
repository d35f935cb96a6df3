#include "model/button_report.h"

#include <gtest/gtest.h>

#include <set>

#include "model/function_table.h"
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
  EXPECT_EQ(Report(r.begin() + 18, r.begin() + 21), Hex("11 05 04"));
  EXPECT_EQ(Report(r.begin() + 21, r.begin() + 24), Hex("12 00 00"));  // numbering entry 0
  EXPECT_EQ(Report(r.begin() + 24, r.begin() + 27), Hex("12 00 03"));
  EXPECT_EQ(Report(r.begin() + 27, r.begin() + 30), Hex("00 00 00"));
  EXPECT_EQ(Report(r.begin() + 30, r.begin() + 33), Hex("00 00 00"));
  EXPECT_EQ(Report(r.begin() + 33, r.begin() + 36), Hex("14 00 00"));
}

TEST(FunctionTable, HasSixtyTwoDeviceRowsWithUniqueCodes) {
  std::set<uint8_t> codes;
  int with_bytes = 0;
  for (const FunctionRow& row : FunctionTable()) {
    EXPECT_TRUE(codes.insert(row.code).second) << int(row.code);
    if (row.device_bytes) ++with_bytes;
  }
  EXPECT_EQ(with_bytes, 62);
  EXPECT_EQ(DeviceBytesFor(0), (DeviceBytes{0x01, 0x00, 0x00}));  // off is not 00 00 00
  EXPECT_EQ(DeviceBytesFor(50), (DeviceBytes{0x11, 0x0A, 0x16}));
  EXPECT_EQ(DeviceBytesFor(51), (DeviceBytes{0x00, 0x00, 0x00}));
  EXPECT_EQ(DeviceBytesFor(81), (DeviceBytes{0x11, 0x03, 0x12}));
  EXPECT_EQ(LabelKeyFor(13), "titl_left_text");
  EXPECT_EQ(LabelKeyFor(19), "");
  EXPECT_EQ(FunctionForMenuItem("ms_1_pre_track"), 67);
  EXPECT_EQ(FunctionForMenuItem("no_such_item"), 1);
  EXPECT_EQ(FunctionForMenuItem(""), 1);
}

}  // namespace
}  // namespace ms1

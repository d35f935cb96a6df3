#include "model/settings_reports.h"

#include <gtest/gtest.h>

#include "model/profile.h"
#include "support/hex.h"

namespace ms1 {
namespace {

using test::Hex;

TEST(SettingsReport, DefaultModeOneMatchesTheKnownBytes) {
  auto p = CreateProfile(u"Default");
  EXPECT_EQ(EncodeSettingsReport(*p, 1),
            Hex("04 38 02 08 08 0F 08 08 1F 3E 52 52 00 00 00 00 20 3F 54 54 00 00 00 00 01 FF "
                "00 00 FF FF 00 00 00 FF 00 FF 00 00 FF FF FF 00 00 FF 40 00 FF FF FF 02 0E 6E "
                "00 00 00 00"));
}

TEST(SettingsReport, HighRangeStartsAbove4000Dpi) {
  const struct {
    int value;  // in steps of 40 DPI
    bool high_range;
    int first_step_count, second_step_count;
  } cases[] = {{30, false, 31, 32},
               {100, false, 103, 105},
               {101, true, 52, 53},  // 4040 DPI encodes like 2020
               {160, true, 82, 84}};
  for (const auto& c : cases) {
    const DpiSteps steps = DpiStepsFor(c.value);
    EXPECT_EQ(steps.high_range, c.high_range) << c.value;
    EXPECT_EQ(steps.first_step_count, c.first_step_count) << c.value;
    EXPECT_EQ(steps.second_step_count, c.second_step_count) << c.value;
  }

  auto p = CreateProfile(u"x");
  SetSharedSetting(*p, SharedSetting::kDpiValue, 101, 0);
  SetSharedSetting(*p, SharedSetting::kDpiValue, 100, 1);
  const Report r = EncodeSettingsReport(*p, 0);
  EXPECT_EQ(r[6], 0x09);  // levels 0 (4040) and 3 (6400)
  EXPECT_EQ(r[7], 0x09);
}

TEST(SettingsReport, ForeignValuesStayDefinedAndChecksumWraps) {
  auto p = CreateProfile(u"x");
  for (int n = 0; n < kDpiLevelCount; ++n) {
    SetSharedSetting(*p, SharedSetting::kDpiValue, INT32_MAX, n);
    p->modes[2].dpi_color[n] = -1;
    p->modes[2].dpi_enabled[n] = 2;  // only exactly 1 enables a level
  }
  p->modes[2].settings_byte_a = 0x1FF;
  const Report r = EncodeSettingsReport(*p, 2);
  ASSERT_EQ(r.size(), 56u);
  EXPECT_EQ(r[2], 3);
  EXPECT_EQ(r[3], 0xFF);
  EXPECT_EQ(r[5], 0x00);
  EXPECT_EQ(r[6], 0xFF);
  EXPECT_TRUE(test::ChecksumAt(r, 50));
}

TEST(LightingReport, DefaultAndEffectDependentBrightness) {
  auto p = CreateProfile(u"x");
  EXPECT_EQ(EncodeLightingReport(*p, 1), Hex("05 0F 02 10 03 08 FF 00 00 01 01 01 1C 00 00"));

  SetSharedSetting(*p, SharedSetting::kLightBrightness, 5);
  SetSharedSetting(*p, SharedSetting::kLightEffect, 9);
  EXPECT_EQ(EncodeLightingReport(*p, 0)[5], 5);
  EXPECT_EQ(EncodeLightingReport(*p, 0)[3], 0x90);
  SetSharedSetting(*p, SharedSetting::kLightEffect, 2);
  EXPECT_EQ(EncodeLightingReport(*p, 0)[5], 8);

  SetSharedSetting(*p, SharedSetting::kLightSpeed, 10);
  EXPECT_EQ(EncodeLightingReport(*p, 0)[4], 0xFF);
  SetSharedSetting(*p, SharedSetting::kLightColor, 0x00123456);  // never sent
  const Report r = EncodeLightingReport(*p, 0);
  EXPECT_EQ(r[6], 0xFF);
  EXPECT_EQ(r[7], 0x00);
  EXPECT_EQ(r[8], 0x00);
}

TEST(PollingReport, IntervalCodesAndComplement) {
  auto p = CreateProfile(u"x");
  const std::pair<int32_t, uint8_t> cases[] = {{0, 8}, {1, 4}, {2, 2}, {3, 1}, {4, 2}, {-1, 2}};
  for (auto [index, code] : cases) {
    SetSharedSetting(*p, SharedSetting::kPollingRate, index);
    const Report r = EncodePollingReport(*p, 1, 2);
    ASSERT_EQ(r.size(), 9u);
    EXPECT_EQ(r[0], 0x06);
    EXPECT_EQ(r[1], 0x09);
    EXPECT_EQ(r[2], 2);  // repetition number, not the mode
    EXPECT_EQ(r[3], code) << index;
    EXPECT_EQ(r[4], static_cast<uint8_t>(~code));
  }
  SetSharedSetting(*p, SharedSetting::kPollingRate, 1);
  EXPECT_EQ(EncodePollingReport(*p, 0, 1), Hex("06 09 01 04 FB 00 00 00 00"));
}

TEST(ModeSelectReport, CarriesModeNumberAndComplements) {
  auto p = CreateProfile(u"x");
  EXPECT_EQ(EncodeModeSelectReport(*p), Hex("0C 0A 01 FE 02 FD 00 00 00 00"));
  p->active_mode = 1;
  EXPECT_EQ(EncodeModeSelectReport(*p), Hex("0C 0A 02 FD 02 FD 00 00 00 00"));
}

TEST(ReportChecksum, SumsTheNamedRangeAndWraps) {
  std::vector<uint8_t> bytes(300, 0xFF);
  EXPECT_EQ(ReportChecksum(bytes.data(), 0, 0), 0xFF);
  EXPECT_EQ(ReportChecksum(bytes.data(), 0, 299), static_cast<uint16_t>(300 * 0xFF));
  EXPECT_EQ(ReportChecksum(bytes.data(), 0, 257), static_cast<uint16_t>(258 * 0xFF));
}

}  // namespace
}  // namespace ms1

#include "model/profile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "model/text_field.h"

namespace ms1 {
namespace {

const uint8_t* Bytes(const void* p) { return static_cast<const uint8_t*>(p); }

TEST(CreateProfile, HoldsNameActiveModeAndEveryDefault) {
  auto p = CreateProfile(u"Work");
  EXPECT_EQ(p->active_mode, 0);
  EXPECT_EQ(FieldText(p->name), u"Work");
  for (int k = 0; k < kModeCount; ++k) {
    const ModeRecord& m = ModeOf(*p, k);
    SCOPED_TRACE(k);
    EXPECT_EQ(m.reserved_2200, 420);
    EXPECT_EQ(m.reserved_2204, 3);
    EXPECT_EQ(m.reserved_2212, 6);
    EXPECT_EQ(m.settings_byte_a, 8);
    EXPECT_EQ(m.settings_byte_b, 8);
    const int32_t dpi[] = {30, 60, 80, 160, 0, 0, 0, 0};
    const int32_t enabled[] = {1, 1, 1, 1, 0, 0, 0, 0};
    for (int n = 0; n < kDpiLevelCount; ++n) {
      EXPECT_EQ(m.dpi_value[n], dpi[n]);
      EXPECT_EQ(m.dpi_value_alt[n], dpi[n]);
      EXPECT_EQ(m.dpi_enabled[n], enabled[n]);
    }
    EXPECT_EQ(m.light_brightness, 8);
    EXPECT_EQ(m.light_speed, 6);
    EXPECT_EQ(m.sleep_timer, 1);
    EXPECT_EQ(m.dpi_level, 0);
    EXPECT_EQ(m.polling_rate, 1);
    EXPECT_EQ(m.light_effect, 1);
    EXPECT_EQ(m.light_reserved_a, 3);
    EXPECT_EQ(m.light_reserved_b, 1);
    EXPECT_EQ(m.light_reserved_c, 1);
    EXPECT_EQ(m.light_color, 0x00FF0000);
    EXPECT_EQ(m.dpi_color[6], 0x000040FF);
    EXPECT_EQ(m.color_reserved[7], 0x000080FF);
    for (int i = 0; i < kButtonCount; ++i) {
      const ButtonRecord& b = m.buttons[i];
      EXPECT_EQ(b.button_index, i);
      EXPECT_EQ(b.function_code, DefaultFunctionCode(k, i));
      EXPECT_EQ(b.reserved_8, 562);
      EXPECT_EQ(b.macro_index, -1);
      EXPECT_EQ(b.reserved_1076, -1);
      EXPECT_EQ(b.macro_action_count, 0);
    }
  }
}

TEST(CreateProfile, ModeOneDiffersOnlyInButtons10_14_15) {
  auto p = CreateProfile(u"x");
  const auto* m0 = Bytes(&p->modes[0]);
  const auto* m1 = Bytes(&p->modes[1]);
  std::vector<std::size_t> differing;
  for (std::size_t i = 0; i < kModeRecordSize; ++i) {
    if (m0[i] != m1[i]) differing.push_back(i);
  }
  const std::size_t code = offsetof(ButtonRecord, function_code);
  const std::vector<std::size_t> expected = {kButtonAreaOffset + 10 * kButtonRecordSize + code,
                                             kButtonAreaOffset + 14 * kButtonRecordSize + code,
                                             kButtonAreaOffset + 15 * kButtonRecordSize + code};
  EXPECT_EQ(differing, expected);
  EXPECT_EQ(p->modes[1].buttons[10].function_code, 0);
  EXPECT_EQ(p->modes[1].buttons[14].function_code, 14);
  EXPECT_EQ(p->modes[0].buttons[14].function_code, 69);
  for (int k = 2; k < kModeCount; ++k) {
    EXPECT_EQ(std::memcmp(&p->modes[0], &p->modes[k], kModeRecordSize), 0);
  }
}

TEST(CreateProfile, CutsLongNamesAndKeepsTheTerminator) {
  auto p = CreateProfile(std::u16string(80, u'a'));
  EXPECT_EQ(FieldText(p->name).size(), 49u);
  EXPECT_EQ(p->name[49], u'\0');
}

TEST(ResetProfile, KeepsNameMoveModeAndUntouchedReservedBytes) {
  auto p = CreateProfile(u"Keep me");
  ModeRecord& m = p->modes[3];
  m.reserved_0[17] = 0xAB;
  m.reserved_2216[5] = 0xCD;
  m.reserved_2236[2] = 0xEF;
  m.move_mode = 1;
  m.reserved_2208 = 0x12345678;
  m.light_reserved_b = 0x0A0B0C0D;
  m.dpi_value[0] = 99;
  m.buttons[4].function_code = 17;
  m.reserved_tail[100] = 7;
  p->active_mode = 3;
  ResetProfile(*p);
  EXPECT_EQ(p->active_mode, 0);
  EXPECT_EQ(FieldText(p->name), u"Keep me");
  EXPECT_EQ(m.reserved_0[17], 0xAB);
  EXPECT_EQ(m.reserved_2216[5], 0xCD);
  EXPECT_EQ(m.reserved_2236[2], 0xEF);
  EXPECT_EQ(m.move_mode, 1);
  EXPECT_EQ(m.reserved_2208, 0x12345600);  // only the low byte is reset
  EXPECT_EQ(m.light_reserved_b, 0x0A0B0C01);
  EXPECT_EQ(m.dpi_value[0], 30);
  EXPECT_EQ(m.buttons[4].function_code, 0);
  EXPECT_EQ(m.reserved_tail[100], 0);
}

TEST(SharedSettings, AreWrittenToAllFiveModes) {
  auto p = CreateProfile(u"x");
  SetSharedSetting(*p, SharedSetting::kLightBrightness, 3);
  SetSharedSetting(*p, SharedSetting::kDpiValue, 125, 6);
  SetSharedSetting(*p, SharedSetting::kPollingRate, 3);
  for (const ModeRecord& m : p->modes) {
    EXPECT_EQ(m.light_brightness, 3);
    EXPECT_EQ(m.dpi_value[6], 125);
    EXPECT_EQ(m.dpi_value[5], 0);
    EXPECT_EQ(m.polling_rate, 3);
  }
}

TEST(ButtonAssignment, MirrorsButtonsBelowTenBetweenModesZeroAndOne) {
  auto p = CreateProfile(u"x");
  ButtonRecord shortcut = p->modes[0].buttons[3];
  shortcut.function_code = kFunctionShortcut;
  shortcut.shortcut_key = 0x04;
  shortcut.shortcut_modifiers = 0x05;

  StoreButtonAssignment(*p, 3, shortcut);  // mode 0 active
  EXPECT_EQ(std::memcmp(&p->modes[1].buttons[3], &shortcut, kButtonRecordSize), 0);

  const struct {
    int32_t active_mode;
    int button;
    int code;
    int in_modes[3];  // the button's code in modes 0 to 2 then; -1: not looked at
  } steps[] = {{0, 12, 33, {33, 0, -1}}, {1, 9, 65, {65, 65, -1}}, {2, 2, 88, {3, 3, 88}}};
  for (const auto& s : steps) {
    p->active_mode = s.active_mode;
    ButtonRecord b = p->modes[s.active_mode].buttons[s.button];
    b.function_code = s.code;
    StoreButtonAssignment(*p, s.button, b);
    for (int mode = 0; mode < 3; ++mode) {
      if (s.in_modes[mode] < 0) continue;
      EXPECT_EQ(p->modes[mode].buttons[s.button].function_code, s.in_modes[mode])
          << "button " << s.button << " in mode " << mode;
    }
  }
}

TEST(ActiveModeIndex, NeverLeavesTheFiveModeRecords) {
  auto p = CreateProfile(u"x");
  const std::pair<int32_t, int> cases[] = {{0, 0}, {4, 4},    {-1, 0},
                                           {5, 0}, {1000, 0}, {INT32_MIN, 0}};
  for (const auto [value, index] : cases) {
    p->active_mode = value;
    EXPECT_EQ(ActiveModeIndex(*p), index) << value;
  }
}

}  // namespace
}  // namespace ms1

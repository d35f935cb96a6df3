#include "model/apply_plan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "model/profile.h"
#include "support/hex.h"

namespace ms1 {
namespace {

using test::Hex;

std::vector<uint8_t> Commands(const ApplyPlan& plan) {
  std::vector<uint8_t> out;
  for (const Report& r : plan.reports) out.push_back(r[0]);
  return out;
}

class ApplyPlanTest : public ::testing::Test {
 protected:
  std::unique_ptr<ProfileRecord> current = CreateProfile(u"P");
  std::unique_ptr<ProfileRecord> last = std::make_unique<ProfileRecord>();
  void SetUp() override { std::memset(last.get(), 0, sizeof(ProfileRecord)); }
  void Applied() { std::memcpy(last.get(), current.get(), sizeof(ProfileRecord)); }
  ApplyPlan Plan(bool force = false) { return PlanApply(*current, *last, force); }
};

TEST_F(ApplyPlanTest, ForcedFullApplyOfADefaultProfileWhateverWasAppliedLast) {
  const ApplyPlan plan = Plan(true);
  EXPECT_EQ(plan.sections, SectionFlags::All());
  EXPECT_EQ(Commands(plan), (std::vector<uint8_t>{0x0C, 0x04, 0x05, 0x06, 0x06, 0x04, 0x05, 0x06,
                                                  0x06, 0x08, 0x08, 0x0C}));
  EXPECT_EQ(plan.reports.front(), Hex("0C 0A 01 FE 02 FD 00 00 00 00"));
  EXPECT_EQ(plan.reports[1][2], 1);  // settings of mode record 0, then 1
  EXPECT_EQ(plan.reports[5][2], 2);
  EXPECT_EQ(plan.reports[3][2], 1);  // polling repetitions 1 and 2
  EXPECT_EQ(plan.reports[4][2], 2);
  EXPECT_EQ(plan.reports[10][2], 2);
  Applied();  // an identical copy changes nothing
  EXPECT_EQ(Plan(true).reports, plan.reports);
}

TEST_F(ApplyPlanTest, NothingChangedSendsOnlyTheTwoModeSelects) {
  Applied();
  const ApplyPlan plan = Plan();
  EXPECT_EQ(plan.sections, SectionFlags{});
  EXPECT_EQ(Commands(plan), (std::vector<uint8_t>{0x0C, 0x0C}));
}

TEST_F(ApplyPlanTest, EachSectionSendsOnlyItsReports) {
  Applied();
  SetSharedSetting(*current, SharedSetting::kSleepTimer, 4);
  EXPECT_EQ(Commands(Plan()), (std::vector<uint8_t>{0x0C, 0x05, 0x05, 0x0C}));

  Applied();
  SetSharedSetting(*current, SharedSetting::kPollingRate, 3);
  EXPECT_EQ(Commands(Plan()), (std::vector<uint8_t>{0x0C, 0x06, 0x06, 0x06, 0x06, 0x0C}));

  Applied();
  current->modes[0].dpi_color[7] = 0x123456;  // per-mode colour of the active mode
  EXPECT_EQ(Commands(Plan()), (std::vector<uint8_t>{0x0C, 0x04, 0x04, 0x0C}));

  Applied();
  current->modes[0].dpi_value_alt[2] = 1;  // never sent, still part of the section
  EXPECT_TRUE(Plan().sections.settings);

  Applied();
  current->modes[0].light_color = 0x00ABCDEF;
  EXPECT_EQ(Plan().sections, (SectionFlags{false, true, false, false}));

  Applied();
  current->modes[0].reserved_tail[7631] = 1;  // the very last byte of the button area
  EXPECT_EQ(Commands(Plan()), (std::vector<uint8_t>{0x0C, 0x08, 0x08, 0x0C}));
}

TEST_F(ApplyPlanTest, FieldsOutsideTheSectionsSetNoFlag) {
  Applied();
  SetSharedSetting(*current, SharedSetting::kMoveMode, 1);
  current->modes[0].color_reserved[0] = 7;
  current->modes[0].text_a[0] = u'x';
  current->name[0] = u'Q';
  EXPECT_EQ(Commands(Plan()), (std::vector<uint8_t>{0x0C, 0x0C}));
}

TEST_F(ApplyPlanTest, OnlyTheActiveModeIsCompared) {
  Applied();
  current->modes[2].buttons[4].function_code = 33;
  EXPECT_EQ(Plan().sections, SectionFlags{});
  current->active_mode = 2;
  EXPECT_TRUE(Plan().sections.buttons);
  EXPECT_EQ(Plan().reports.front(), Hex("0C 0A 03 FC 02 FD 00 00 00 00"));
}

TEST_F(ApplyPlanTest, BothSentModeRecordsAreComparedWhateverModeIsActive) {
  for (const int active : {0, 1, 2}) {
    for (const int edited : {0, 1}) {
      SCOPED_TRACE(testing::Message() << "active " << active << ", edited " << edited);
      current->active_mode = active;
      Applied();
      current->modes[edited].dpi_color[3] ^= 0x00FFFFFF;
      EXPECT_EQ(Plan().sections, (SectionFlags{true, false, false, false}));
    }
  }
}

TEST_F(ApplyPlanTest, ActiveModeOutsideRangeIsComparedAsModeZero) {
  Applied();
  current->active_mode = 77;
  current->modes[0].light_speed = 1;
  EXPECT_EQ(Plan().sections, (SectionFlags{false, true, false, false}));
}

TEST_F(ApplyPlanTest, MacrosAreNumberedFromModeZeroAndUploadedFirst) {
  for (int i : {2, 7}) {
    ButtonRecord b = current->modes[0].buttons[i];
    b.function_code = kFunctionMacro;
    b.macro_action_count = 1;
    b.macro_actions[0] = {static_cast<uint8_t>(0x10 + i), kActionPress, 100};
    StoreButtonAssignment(*current, i, b);
  }
  current->modes[1].buttons[12].function_code = kFunctionMacro;  // not a macro in mode 0
  Applied();
  current->modes[0].buttons[0].shortcut_key = 1;  // any button change sends all macros
  current->modes[1].buttons[0].shortcut_key = 1;
  const ApplyPlan plan = Plan();
  EXPECT_EQ(Commands(plan), (std::vector<uint8_t>{0x0C, 0x09, 0x09, 0x08, 0x08, 0x0C}));
  EXPECT_EQ(plan.reports[1][2], 1);
  EXPECT_EQ(plan.reports[1][30], 0x12);  // key of button 2's step
  EXPECT_EQ(plan.reports[2][2], 2);
  EXPECT_EQ(plan.reports[2][30], 0x17);
  const Report& map0 = plan.reports[3];
  EXPECT_EQ(Report(map0.begin() + 9, map0.begin() + 12), Hex("12 00 01"));
  EXPECT_EQ(Report(map0.begin() + 24, map0.begin() + 27), Hex("12 00 02"));
  const Report& map1 = plan.reports[4];
  EXPECT_EQ(Report(map1.begin() + 24, map1.begin() + 27), Hex("12 00 02"));
  EXPECT_EQ(Report(map1.begin() + 39, map1.begin() + 42), Hex("12 00 00"));
  for (int k = 1; k < kModeCount; ++k) EXPECT_EQ(plan.macro_numbers[k], plan.macro_numbers[0]);
}

TEST_F(ApplyPlanTest, EditsAccumulateUntilTheNextApply) {
  Applied();
  SetSharedSetting(*current, SharedSetting::kLightBrightness, 2);
  SetSharedSetting(*current, SharedSetting::kDpiLevel, 3);
  EXPECT_EQ(Plan().sections, (SectionFlags{true, true, false, false}));
}

}  // namespace
}  // namespace ms1

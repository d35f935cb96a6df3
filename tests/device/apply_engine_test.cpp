#include "device/apply_engine.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "model/profile.h"
#include "model/settings_reports.h"

namespace ms1 {
namespace {

using test::SameProfile;

std::vector<uint8_t> Commands(const std::vector<Report>& reports) {
  std::vector<uint8_t> out;
  for (const Report& r : reports) out.push_back(r[0]);
  return out;
}

class ApplyEngineTest : public ::testing::Test, protected test::ApplyRig {
 protected:
  void SetUp() override {
    model.With([](PageState& s) {
      s.profiles.push_back(CreateProfile(u"First"));
      s.profiles.push_back(CreateProfile(u"Second"));
      s.selected = 0;
      s.force_full_apply = true;
    });
  }
  std::unique_ptr<ProfileRecord> Current() {
    return model.With([](PageState& s) { return CopyProfile(*s.Current()); });
  }
  std::unique_ptr<ProfileRecord> LastApplied() {
    return model.With([](PageState& s) { return CopyProfile(*s.last_applied); });
  }
  void Edit(SharedSetting field, int32_t value) {
    model.With([&](PageState& s) { SetSharedSetting(*s.Current(), field, value); });
  }
};

TEST_F(ApplyEngineTest, ForcedApplySendsThePlanThenSavesAndMovesTheDiffBase) {
  const auto before = Current();
  const auto zero = LastApplied();
  store.on_save = [this] { host.Add("save"); };
  engine.ApplyConfiguration();

  EXPECT_EQ(sender.sent, PlanApply(*before, *zero, true).reports);
  EXPECT_EQ(host.Events(), (std::vector<std::string>{"stop-heartbeat", "show-ring",
                                                     "start-heartbeat 6000", "save", "hide-ring"}));
  EXPECT_TRUE(SameProfile(*LastApplied(), *before));
  EXPECT_FALSE(model.With([](PageState& s) { return s.force_full_apply; }));
  EXPECT_EQ(store.LastCount(), 2u);
  EXPECT_EQ(store.LastSelected(), 0);
}

TEST_F(ApplyEngineTest, SecondApplyWithoutEditSendsOnlyModeSelectsAndStillSaves) {
  engine.ApplyConfiguration();
  sender.sent.clear();
  engine.ApplyConfiguration();
  EXPECT_EQ(Commands(sender.sent), (std::vector<uint8_t>{0x0C, 0x0C}));
  EXPECT_EQ(store.saves, 2);
}

TEST_F(ApplyEngineTest, SleepTimerEditSendsTheLightingOfModesZeroAndOne) {
  engine.ApplyConfiguration();
  sender.sent.clear();
  Edit(SharedSetting::kSleepTimer, 6);
  engine.ApplyConfiguration();
  EXPECT_EQ(Commands(sender.sent), (std::vector<uint8_t>{0x0C, 0x05, 0x05, 0x0C}));
}

TEST_F(ApplyEngineTest, AsleepMouseGetsNothingAndTheForceFlagWaits) {
  links.mouseAsleep = 1;
  engine.ApplyConfiguration();
  EXPECT_TRUE(sender.sent.empty());
  EXPECT_TRUE(host.Events().empty());
  EXPECT_EQ(store.saves, 0);
  EXPECT_TRUE(model.With([](PageState& s) { return s.force_full_apply; }));
}

TEST_F(ApplyEngineTest, NoCurrentProfileMeansNoApply) {
  model.With([](PageState& s) { s.selected = 7; });
  engine.ApplyConfiguration();
  EXPECT_TRUE(sender.sent.empty());
  EXPECT_EQ(store.saves, 0);
}

// An edit made while the reports go out was not sent: the diff base must be
// the profile as it was sent, so the next apply carries the edit.
TEST_F(ApplyEngineTest, EditDuringTheApplyIsSentByTheNextOne) {
  const auto sent = Current();
  sender.on_send = [this](const Report&) {
    if (sender.sent.size() == 3) Edit(SharedSetting::kLightBrightness, 9);
  };
  engine.ApplyConfiguration();
  EXPECT_TRUE(SameProfile(*LastApplied(), *sent));
  EXPECT_EQ(Current()->modes[0].light_brightness, 9);

  sender.on_send = nullptr;
  sender.sent.clear();
  engine.ApplyConfiguration();
  EXPECT_EQ(Commands(sender.sent), (std::vector<uint8_t>{0x0C, 0x05, 0x05, 0x0C}));
  EXPECT_EQ(sender.sent[1], EncodeLightingReport(*Current(), 0));
  EXPECT_EQ(sender.sent[1][5], 9);
}

TEST_F(ApplyEngineTest, ProfileSelectedDuringTheApplyGetsAFullApplyNext) {
  sender.on_send = [this](const Report&) {
    if (sender.sent.size() == 2) {
      model.With([](PageState& s) {
        s.selected = 1;
        s.force_full_apply = true;
      });
    }
  };
  engine.ApplyConfiguration();
  EXPECT_EQ(sender.sent.size(), 12u);
  EXPECT_TRUE(model.With([](PageState& s) { return s.force_full_apply; }));
  EXPECT_EQ(store.LastSelected(), 1);  // saved as it stood when the save came
  sender.on_send = nullptr;
  sender.sent.clear();
  engine.ApplyConfiguration();
  EXPECT_EQ(sender.sent.size(), 12u);
}

TEST_F(ApplyEngineTest, MacroNumbersAreKeptWhenButtonsAreSent) {
  model.With([](PageState& s) {
    ButtonRecord macro = s.Current()->modes[0].buttons[2];
    macro.function_code = kFunctionMacro;
    macro.macro_action_count = 0;
    StoreButtonAssignment(*s.Current(), 2, macro);
  });
  engine.ApplyConfiguration();
  const MacroNumbering numbers = model.With([](PageState& s) { return s.macro_numbers; });
  EXPECT_EQ(numbers[0][2], 1);
  EXPECT_EQ(numbers[4][2], 1);
  EXPECT_EQ(numbers[0][3], 0);
}

TEST_F(ApplyEngineTest, DeviceReportedChangeCountsAsSent) {
  engine.ApplyConfiguration();
  Edit(SharedSetting::kDpiLevel, 3);
  model.MarkCurrentApplied();
  sender.sent.clear();
  engine.ApplyConfiguration();
  EXPECT_EQ(Commands(sender.sent), (std::vector<uint8_t>{0x0C, 0x0C}));
}

// The same apply through the real transport and a wired fake: the wired link
// sees each macro as three chunks and every report costs its 200 ms.
TEST(ApplyOverTransportTest, FullApplyWithAMacroOverTheWiredLink) {
  test::WiredApplyRig rig;
  rig.model.With([](PageState& s) {
    s.profiles.push_back(CreateProfile(u"P"));
    ButtonRecord macro = s.Current()->modes[0].buttons[5];
    macro.function_code = kFunctionMacro;
    StoreButtonAssignment(*s.Current(), 5, macro);
    s.force_full_apply = true;
  });
  rig.engine.ApplyConfiguration();
  // 12 reports of a default profile, plus one macro as three chunks.
  EXPECT_EQ(rig.wired.sent.size(), 15u);
  EXPECT_EQ(rig.pacer.Total(), std::chrono::milliseconds(15 * 200));
  for (const Report& r : rig.wired.sent) EXPECT_LE(r.size(), 64u);
}

}  // namespace
}  // namespace ms1

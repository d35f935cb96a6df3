#include "device/apply_engine.h"

#include <gtest/gtest.h>

#include "../libs/mouse_holds.h"
#include "fakes.h"
#include "libs/virtualmouse/virtual_mouse.h"
#include "model/profile.h"
#include "model/settings_reports.h"

namespace ms1 {
namespace {

using test::Commands;
using test::SameProfile;

class ApplyEngineTest : public ::testing::Test, protected test::ApplyRig {
 protected:
  void SetUp() override { test::LoadProfiles(model, {u"First", u"Second"}); }
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

// The edit is kept on disk while the mouse sleeps, and stays unsent.
TEST_F(ApplyEngineTest, AsleepMouseGetsNothingButTheEditIsSavedAndWaits) {
  links.mouseAsleep = 1;
  engine.ApplyConfiguration();
  EXPECT_TRUE(sender.sent.empty());
  EXPECT_TRUE(host.Events().empty());
  EXPECT_EQ(store.saves, 1);
  EXPECT_TRUE(model.With([](PageState& s) { return s.force_full_apply; }));
  EXPECT_TRUE(model.HasUnsentEdits());
  EXPECT_TRUE(host.unsent_shown);
}

// Whichever report is lost (no link, refused, link gone mid-apply), nothing
// counts as sent and the next apply sends the whole profile.
TEST_F(ApplyEngineTest, AnUndeliveredReportMakesTheNextApplyFull) {
  const std::vector<std::vector<int>> scripts = {{0}, {1, 1, 1, 0},
                                                 {1, 0, 1}, {0, 0, 0, 0}};
  int32_t sleep_timer = 1;
  for (const auto& script : scripts) {
    engine.ApplyConfiguration();  // a clean start: everything delivered
    Edit(SharedSetting::kSleepTimer, ++sleep_timer);
    const auto base = LastApplied();
    sender.sent.clear();
    sender.script = script;
    engine.ApplyConfiguration();
    EXPECT_EQ(sender.sent.size(), 4u);
    EXPECT_TRUE(SameProfile(*LastApplied(), *base)) << sleep_timer;
    EXPECT_TRUE(model.HasUnsentEdits());
    EXPECT_TRUE(host.unsent_shown);

    sender.sent.clear();
    sender.script.clear();
    engine.ApplyConfiguration();
    EXPECT_EQ(sender.sent.size(), 12u) << "full apply after a loss";
    EXPECT_FALSE(model.HasUnsentEdits());
    EXPECT_FALSE(host.unsent_shown);
  }
}

// Bluetooth LE takes no polling rate: the apply is no failure, but the mouse
// keeps its old rate, so the next link that takes it is sent the profile's.
TEST_F(ApplyEngineTest, APollingRateTheLinkLeftOutGoesWithTheNextApply) {
  engine.ApplyConfiguration();
  Edit(SharedSetting::kPollingRate, 2);
  sender.left_out_command = command::kPollingRate;
  engine.ApplyConfiguration();
  EXPECT_FALSE(model.With([](PageState& s) { return s.force_full_apply; }));
  EXPECT_TRUE(model.HasUnsentEdits());

  sender.sent.clear();
  sender.left_out_command.reset();
  engine.ApplyConfiguration();
  const uint8_t rate = command::kPollingRate;  // two reports for each of modes 0 and 1
  EXPECT_EQ(Commands(sender.sent), (std::vector<uint8_t>{0x0C, rate, rate, rate, rate, 0x0C}));
  EXPECT_FALSE(model.HasUnsentEdits());
}

// The saves made when an edit is made write only what changed since the last
// save or the load; a failed write is tried again by the next one. Each save
// marks the edits unsent from an apply asked for until one sent them all.
TEST_F(ApplyEngineTest, SavingAnEditWritesOnlyWhatChanged) {
  struct Step {
    const char* what;
    std::function<void()> act;
    int saves;   // in all, afterwards
    int marked;  // the mark of unsent edits afterwards
  };
  const auto forced = [&] { model.With([](PageState& s) { s.force_full_apply = true; }); };
  const std::vector<Step> steps = {
      {"loaded", [&] { model.RememberLoaded(); }, 0, -1},
      {"nothing changed", [&] { model.SaveStoreIfChanged(store); }, 0, 0},
      {"an edit", [&] { Edit(SharedSetting::kSleepTimer, 4); model.SaveStoreIfChanged(store); }, 1, 0},
      {"no more edits", [&] { model.SaveStoreIfChanged(store); }, 1, 0},
      {"another profile selected",
       [&] { model.With([](PageState& s) { s.selected = 1; }); model.SaveStoreIfChanged(store); }, 2, 0},
      {"the apply's own save", [&] { model.SaveStore(store); }, 3, 0},
      {"after it", [&] { model.SaveStoreIfChanged(store); }, 3, 0},
      {"a write that fails", [&] { store.fail = true; Edit(SharedSetting::kSleepTimer, 5);
                                   EXPECT_FALSE(model.SaveStoreIfChanged(store)); }, 4, 0},
      {"tried again", [&] { store.fail = false; model.SaveStoreIfChanged(store); }, 5, 0},
      {"then quiet", [&] { model.SaveStoreIfChanged(store); }, 5, 0},
      {"an apply asked for", [&] { model.NoteApplyWanted(); model.SaveStoreIfChanged(store); }, 5, 1},
      {"and made", [&] { engine.ApplyConfiguration(); }, 6, 0},
      {"loaded as a run left it", [&] { forced(); model.RememberLoaded(true);
                                        model.SaveStoreIfChanged(store); }, 6, 1},
      {"nothing reached the mouse", [&] { sender.result = 0; engine.ApplyConfiguration(); }, 7, 1},
      {"all of it did", [&] { sender.result = 1; engine.ApplyConfiguration(); }, 8, 0},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(store.saves, step.saves) << step.what;
    EXPECT_EQ(store.marked, step.marked) << step.what;
  }
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

TEST_F(ApplyEngineTest, OnlyTheCurrentProfileStaysUnpackedWhateverAChangeTouched) {
  const auto packed = [this] {
    return model.With([](const PageState& s) {
      std::vector<bool> states;
      for (const ProfileSlot& p : s.profiles) states.push_back(p.IsPacked());
      states.push_back(s.last_applied.IsPacked());
      return states;
    });
  };
  EXPECT_EQ(packed(), std::vector<bool>({false, true, true}));
  model.With([](PageState& s) {
    s.profiles.push_back(CreateProfile(u"Third"));
    s.profiles[1]->modes[0].light_speed = 3;  // an edit of a profile not in use
    s.selected = 2;
  });
  EXPECT_EQ(packed(), std::vector<bool>({true, true, false, true}));
  engine.ApplyConfiguration();
  EXPECT_EQ(store.LastCount(), 3u);
  EXPECT_EQ(model.With([](PageState& s) { return s.profiles[1]->modes[0].light_speed; }), 3);
  EXPECT_TRUE(model.RecordReported(ReportedSetting::kDpiLevel, 2));
  EXPECT_EQ(packed(), std::vector<bool>({true, true, false, true}));
  EXPECT_TRUE(SameProfile(*LastApplied(), *Current())) << "the diff base is the profile as sent";
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

// What the mouse reports it holds already: never sent back, whether it came
// between applies or in the middle of one; an edit still waiting for its
// apply is not swallowed by it.
TEST_F(ApplyEngineTest, DeviceReportedSettingsAreNotSentBack) {
  struct Case {
    ReportedSetting setting;
    int32_t value;
  };
  for (const Case c : {Case{ReportedSetting::kDpiLevel, 3}, Case{ReportedSetting::kPollingRate, 1},
                       Case{ReportedSetting::kActiveMode, 1}}) {
    for (const bool during_apply : {false, true}) {
      model.With([](PageState& s) { ResetProfile(*s.Current()); });
      engine.ApplyConfiguration();
      sender.sent.clear();
      if (during_apply) {
        sender.on_send = [&](const Report&) {
          if (sender.sent.size() == 3) model.RecordReported(c.setting, c.value);
        };
        Edit(SharedSetting::kLightBrightness, 2);
        engine.ApplyConfiguration();
        sender.on_send = nullptr;
      } else {
        Edit(SharedSetting::kLightBrightness, 2);
        model.RecordReported(c.setting, c.value);
        engine.ApplyConfiguration();
        EXPECT_EQ(Commands(sender.sent), (std::vector<uint8_t>{0x0C, 0x05, 0x05, 0x0C}))
            << "the waiting edit is still sent";
      }
      sender.sent.clear();
      engine.ApplyConfiguration();
      EXPECT_EQ(Commands(sender.sent), (std::vector<uint8_t>{0x0C, 0x0C}))
          << static_cast<int>(c.setting) << " during apply " << during_apply;
      EXPECT_FALSE(model.HasUnsentEdits());
    }
  }
}

// The stand-in mouse over the receiver; the user presses one of its buttons
// just before report `press_before` of the next apply reaches it, and the
// program hears of it at once, as its event handler would tell the model.
class PressingMouse final : public ReportSender {
 public:
  PressingMouse(PageModel& model) : model_(model) {
    mouse.SetPlugged(ConnectionMode::kReceiver, true);
  }
  SendOutcome Send(const uint8_t* report, int length) override {
    if (sent_++ == press_before && press) press();
    const vmouse::Delivery d =
        mouse.Receive(ConnectionMode::kReceiver, report, static_cast<std::size_t>(length));
    return {d.accepted ? 1 : 0, ConnectionMode::kReceiver};
  }
  void PressMode(int mode) {
    mouse.PressMode(mode);
    EXPECT_TRUE(model_.RecordReported(ReportedSetting::kActiveMode, mode));
  }
  void PressDpi(int level) {
    mouse.PressDpi(level);
    EXPECT_TRUE(model_.RecordReported(ReportedSetting::kDpiLevel, level - 1));
  }
  void ArmPress(std::size_t before, std::function<void()> what) {
    sent_ = 0;
    press_before = before;
    press = std::move(what);
  }

  vmouse::VirtualMouse mouse;

 private:
  PageModel& model_;
  std::size_t sent_ = 0;
  std::size_t press_before = 0;
  std::function<void()> press;
};

// A press on the mouse while an apply runs is what the window shows, and the
// mouse must end holding it too, wherever among the reports it fell: a later
// report that put the old value back is followed by one more apply.
TEST(ApplyWithPressesTest, TheMouseEndsHoldingWhatTheWindowShows) {
  struct Kind {
    const char* name;
    bool full;  // a full apply, else a lighting edit (mode selects around two reports)
  };
  for (const Kind kind : {Kind{"full", true}, Kind{"lighting edit", false}}) {
    for (const bool mode_press : {true, false}) {
      const std::size_t reports = kind.full ? 12 : 4;
      for (std::size_t before = 0; before < reports; ++before) {
        LinkState links;
        links.receiverState = link_presence::kPresent;
        links.mouseAsleep = 0;
        PageModel model;
        PressingMouse mouse(model);
        test::RecordingHost host;
        test::FakeStore store;
        ApplyEngine engine{model, links, mouse, host, store};
        test::LoadProfiles(model, {u"P"});
        ASSERT_EQ(engine.ApplyConfiguration(), ApplyOutcome::kDone);

        model.With([&](PageState& s) {
          if (kind.full) s.force_full_apply = true;
          else SetSharedSetting(*s.Current(), SharedSetting::kLightBrightness, 3);
        });
        mouse.ArmPress(before, [&] { mode_press ? mouse.PressMode(1) : mouse.PressDpi(6); });
        int rounds = 0;
        while (engine.ApplyConfiguration() == ApplyOutcome::kSendAgain) ASSERT_LT(++rounds, 2);

        const auto current = model.With([](PageState& s) { return CopyProfile(*s.Current()); });
        const std::string where = std::string(kind.name) + (mode_press ? ", mode" : ", DPI") +
                                  " pressed before report " + std::to_string(before);
        EXPECT_EQ(mode_press ? current->active_mode : current->modes[0].dpi_level,
                  mode_press ? 1 : 5)
            << where;
        EXPECT_EQ(test::MissingFromMouse(mouse.mouse.StateJson(), *current), "") << where;
        EXPECT_FALSE(model.HasUnsentEdits()) << where;
      }
    }
  }
}

// The same apply through the real transport and a wired fake: the wired link
// sees each macro as three chunks and every report costs its 200 ms.
TEST(ApplyOverTransportTest, FullApplyWithAMacroOverTheWiredLink) {
  test::WiredApplyRig rig;
  test::LoadProfiles(rig.model, {u"P"});
  rig.model.With([](PageState& s) {
    ButtonRecord macro = s.Current()->modes[0].buttons[5];
    macro.function_code = kFunctionMacro;
    StoreButtonAssignment(*s.Current(), 5, macro);
  });
  rig.engine.ApplyConfiguration();
  // 12 reports of a default profile, plus one macro as three chunks.
  EXPECT_EQ(rig.wired.sent.size(), 15u);
  EXPECT_EQ(rig.pacer.Total(), std::chrono::milliseconds(15 * 200));
  for (const Report& r : rig.wired.sent) EXPECT_LE(r.size(), 64u);
}

}  // namespace
}  // namespace ms1

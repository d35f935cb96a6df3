// The device link end to end: the virtual mouse's driver libraries loaded by
// name, the transport and the apply engine sending through them, and the
// mouse read back. Pauses are recorded, not slept; a receiver pause lasts
// until the mouse's acknowledgement has come.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "../libs/apply_helpers.h"
#include "../libs/sample_profiles.h"
#include "../libs/sim_instance.h"
#include "device/apply_engine.h"
#include "device/driver/feature_drivers.h"
#include "device/page_worker.h"
#include "device/report_transport.h"
#include "fakes.h"
#include "headless_link_window.h"
#include "libs/virtualmouse/hex_text.h"
#include "model/data_folder_stores.h"
#include "model/settings_reports.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

using std::chrono::milliseconds;

class VirtualMouseApplyTest : public ::testing::Test {
 protected:
  test::SimInstance sim{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  LinkState links;
  HeadlessLinkWindow window{links};
  FeatureDrivers drivers;
  test::RecordingPacer pacer;
  ReportTransport transport{links, pacer};
  PageModel model;
  test::RecordingHost host;
  DataFolderStores store{sim.dir() / "Data"};
  ApplyEngine engine{model, links, transport, host, store};
  milliseconds ack_limit{30000};  // a safety net; acknowledgements come in milliseconds
  std::unique_ptr<ProfileRecord> zero = std::make_unique<ProfileRecord>();

  void SetUp() override {
    std::memset(zero.get(), 0, sizeof(ProfileRecord));
    drivers.Load(test::paths::VirtualDriversFolder() + "/");
    ASSERT_NE(drivers.wired(), nullptr);
    ASSERT_NE(drivers.receiver(), nullptr);
    transport.SetWired(drivers.wired());
    transport.SetReceiver(drivers.receiver());
    transport.SetTrace([](const std::string&) {});
    pacer.on_pause = [this](std::size_t index) {
      if (pacer.pauses[index] != transport::kReceiverPause) return;
      window.WaitUntil([this] { return links.ackReceived.load() != 0; }, ack_limit);
    };
  }
  void TearDown() override { drivers.CloseAll(); }

  bool Steer(const std::string& request) { return sim.Request(request).value("ok", false); }

  // The program's start-up order, then the mouse reports itself awake.
  void OpenLinks(const std::string& plugged) {
    for (const char* link : {"wired", "receiver"}) {
      if (plugged.find(link) != std::string::npos) {
        ASSERT_TRUE(Steer(std::string("plug ") + link));
      }
    }
    if (drivers.OpenWired(window.Handle())) links.wiredState = link_presence::kPresent;
    if (drivers.OpenReceiver(window.Handle())) links.receiverState = link_presence::kPresent;
    if (links.receiverState == link_presence::kPresent) {
      ASSERT_TRUE(Steer("battery 8"));
      ASSERT_TRUE(window.WaitUntil([this] { return links.receiverAwake.load() != 0; }, ack_limit));
    }
    links.mouseAsleep = 0;
  }

  // A copy of `profile` becomes the page's only one, due a full apply: the
  // plan returned.
  ApplyPlan UseProfile(const ProfileRecord& profile) {
    model.With([&](PageState& s) {
      s.profiles.clear();
      s.profiles.push_back(CopyProfile(profile));
      s.selected = 0;
      s.force_full_apply = true;
    });
    return PlanApply(profile, *zero, true);
  }

  std::vector<std::string> LoggedReports(const std::string& link = "") {
    std::vector<std::string> out;
    const nlohmann::json log = sim.Log();
    for (const auto& entry : log["accepted"]) {
      if (link.empty() || entry["link"] == link) out.push_back(entry["report"]);
    }
    return out;
  }

  static std::vector<std::string> Hex(const std::vector<Report>& reports) {
    std::vector<std::string> out;
    for (const Report& r : reports) out.push_back(vmouse::ToHex(r));
    return out;
  }

  // The mouse holds what the profile says for mode records 0 and 1.
  void ExpectMouseHolds(const ProfileRecord& profile, const ApplyPlan& plan) {
    const nlohmann::json state = sim.State();
    for (int k = 0; k < 2; ++k) {
      const nlohmann::json& mode = state["modes"][k];
      EXPECT_EQ(mode["settings"]["raw"], vmouse::ToHex(EncodeSettingsReport(profile, k)));
      EXPECT_EQ(mode["lighting"]["raw"], vmouse::ToHex(EncodeLightingReport(profile, k)));
      EXPECT_EQ(mode["buttons"]["raw"],
                vmouse::ToHex(EncodeButtonReport(profile, k, plan.macro_numbers[k])));
    }
    EXPECT_EQ(state["polling_rate"]["interval_ms"],
              PollingIntervalCode(profile.modes[0].polling_rate));
    for (const Report& report : plan.reports) {
      if (report[0] == command::kMacro) {
        EXPECT_EQ(state["macros"][std::to_string(report[2])]["raw"], vmouse::ToHex(report));
      }
    }
  }
};

TEST_F(VirtualMouseApplyTest, ForcedFullAppliesOfManyProfilesOverTheWiredLink) {
  OpenLinks("wired");
  for (unsigned seed = 1; seed <= 10; ++seed) {
    const auto profile = test::SampleProfile(seed, static_cast<int>(seed % 5));
    const ApplyPlan plan = UseProfile(*profile);
    ASSERT_TRUE(Steer("clear-log"));
    pacer.pauses.clear();
    engine.ApplyConfiguration();

    const std::vector<Report> expected = test::ReportsForLink(plan, true);  // macros chunked
    EXPECT_EQ(LoggedReports("wired"), Hex(expected)) << "seed " << seed;
    EXPECT_EQ(pacer.pauses, std::vector<milliseconds>(expected.size(), transport::kWiredPause));
    ExpectMouseHolds(*profile, plan);
  }
  EXPECT_EQ(std::filesystem::file_size(sim.dir() / "Data" / "ms_1" / "pro.data"), 4u + 165004u);
}

TEST_F(VirtualMouseApplyTest, ReceiverSendsEachReportOnceWhenAcknowledged) {
  OpenLinks("receiver");
  const auto profile = test::SampleProfile(77, 3);
  const ApplyPlan plan = UseProfile(*profile);
  engine.ApplyConfiguration();
  EXPECT_EQ(LoggedReports("receiver"), Hex(plan.reports));  // macros whole, each once
  EXPECT_EQ(pacer.pauses,
            std::vector<milliseconds>(plan.reports.size(), transport::kReceiverPause));
  ExpectMouseHolds(*profile, plan);
}

TEST_F(VirtualMouseApplyTest, LostAcknowledgementSendsTheReportAgain) {
  OpenLinks("receiver");
  // Only the first acknowledgement is lost: waiting longer for that one would
  // only cost time. The resent report's does come, and keeps the safety net
  // however busy the machine is.
  const milliseconds safety_net = ack_limit;
  const auto wait_for_ack = pacer.on_pause;
  pacer.on_pause = [this, wait_for_ack, safety_net](std::size_t index) {
    ack_limit = index == 0 ? milliseconds(1500) : safety_net;
    wait_for_ack(index);
  };
  ASSERT_TRUE(Steer("lose-acks 1"));
  const Report mode_select = EncodeModeSelectReport(*CreateProfile(u"P"));
  EXPECT_EQ(transport.SendReport(mode_select.data(), static_cast<int>(mode_select.size())), 1);
  EXPECT_EQ(LoggedReports(), (std::vector<std::string>(2, vmouse::ToHex(mode_select))));
  EXPECT_EQ(pacer.pauses.size(), 2u);
}

TEST_F(VirtualMouseApplyTest, RefusedWiredReportIsNotRetriedAndTheApplyGoesOn) {
  OpenLinks("wired receiver");
  ASSERT_TRUE(Steer("refuse 1"));
  UseProfile(*CreateProfile(u"P"));
  engine.ApplyConfiguration();
  const nlohmann::json log = sim.Log();
  EXPECT_EQ(log["refused"].size(), 1u);
  EXPECT_EQ(log["accepted"].size(), 11u);
  EXPECT_TRUE(LoggedReports("receiver").empty());
  EXPECT_EQ(pacer.pauses.size(), 11u);
}

TEST_F(VirtualMouseApplyTest, CablePulledMidApplyMovesTheRestToTheReceiver) {
  OpenLinks("wired receiver");
  const ApplyPlan plan = UseProfile(*CreateProfile(u"P"));
  const auto wired_hook = pacer.on_pause;
  pacer.on_pause = [&](std::size_t index) {
    wired_hook(index);
    if (index != 3) return;
    ASSERT_TRUE(Steer("unplug wired"));
    ASSERT_TRUE(window.WaitUntil(
        [this] { return links.wiredState.load() == link_presence::kRemoved; }, ack_limit));
  };
  engine.ApplyConfiguration();
  const std::vector<std::string> all = Hex(plan.reports);
  EXPECT_EQ(LoggedReports("wired"), std::vector<std::string>(all.begin(), all.begin() + 4));
  EXPECT_EQ(LoggedReports("receiver"), std::vector<std::string>(all.begin() + 4, all.end()));
}

TEST_F(VirtualMouseApplyTest, WorkerAppliesEditsInOrderAndTheMouseEndsWithTheLast) {
  OpenLinks("wired");
  UseProfile(*test::SampleProfile(5, 2));
  PageWorker worker(links, [this] { return engine.ApplyConfiguration(); });
  worker.Start();
  worker.Post(TM_APPLY);
  model.With([](PageState& s) { SetSharedSetting(*s.Current(), SharedSetting::kSleepTimer, 9); });
  worker.Post(TM_APPLY);
  model.With([](PageState& s) { SetSharedSetting(*s.Current(), SharedSetting::kPollingRate, 1); });
  worker.Post(TM_APPLY);
  worker.Stop();
  const auto current = model.With([](PageState& s) { return CopyProfile(*s.Current()); });
  ExpectMouseHolds(*current, PlanApply(*current, *zero, true));
}

}  // namespace
}  // namespace ms1

// Both virtual driver library files loaded the way the program loads them,
// driven only through the C entry points, against one isolated simulator.
#include <gtest/gtest.h>

#include <cstring>

#include "apply_helpers.h"
#include "driver_library.h"
#include "libs/abi/ms1_feature_driver.h"
#include "libs/virtualmouse/hex_text.h"
#include "model/protocol/link_ids.h"
#include "model/settings_reports.h"
#include "mouse_holds.h"
#include "sample_profiles.h"
#include "sim_instance.h"
#include "support/test_paths.h"
#include "test_window.h"

namespace ms1 {
namespace {

using test::PostedMessage;

constexpr uint16_t kAck = 0x5010;

class VirtualDriverTest : public ::testing::Test {
 protected:
  test::SimInstance sim{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  test::DriverLibrary wired{test::paths::VirtualDriversFolder() + "/hiddriver_2.so"};
  test::DriverLibrary receiver{test::paths::VirtualDriversFolder() + "/hiddriver_1.so"};
  test::TestWindow window;
  std::unique_ptr<ProfileRecord> blank = std::make_unique<ProfileRecord>();

  void SetUp() override {
    ASSERT_TRUE(wired.Loaded()) << wired.Error();
    ASSERT_TRUE(receiver.Loaded()) << receiver.Error();
    std::memset(blank.get(), 0, sizeof(ProfileRecord));
  }
  void TearDown() override {
    if (!wired.Loaded() || !receiver.Loaded()) return;
    // The program's shutdown order.
    receiver.close_device();
    receiver.close_monitor();
    wired.close_device();
    wired.close_monitor();
    // Its log is complete only once the process has exited.
    EXPECT_TRUE(sim.Stop()) << "the simulator did not exit";
    const std::string log = sim.SimulatorLog();
    EXPECT_EQ(log.find("Sanitizer"), std::string::npos) << log;
    EXPECT_EQ(log.find("runtime error"), std::string::npos) << log;
  }
  // The mouse plugged on `plugged`, then the program's start-up order;
  // returns what the two opens returned.
  std::pair<int32_t, int32_t> StartLikeTheProgram(std::initializer_list<const char*> plugged = {}) {
    for (const char* link : plugged) EXPECT_TRUE(Steer(std::string("plug ") + link));
    wired.set_vid_pid(link_ids::kVendor, link_ids::kWiredProduct);
    wired.open_monitor(window.Handle(), MS1_WIRED_EVENT_MESSAGE, MS1_WIRED_PLUG_MESSAGE);
    const int32_t w = wired.open_device();
    receiver.set_vid_pid(link_ids::kVendor, link_ids::kReceiverProduct);
    receiver.open_monitor(window.Handle(), MS1_RECEIVER_EVENT_MESSAGE, MS1_RECEIVER_PLUG_MESSAGE);
    return {w, receiver.open_device()};
  }
  bool Steer(const std::string& request) { return sim.Request(request).value("ok", false); }
};

TEST_F(VirtualDriverTest, TwoFilesOwnSeparateStateAndExportOnlyTheEntryPoints) {
  EXPECT_NE(wired.Symbol("SetFeature"), receiver.Symbol("SetFeature"));
  EXPECT_EQ(wired.Symbol("_ZN3ms18LinkNameENS_14ConnectionModeE"), nullptr);
  EXPECT_EQ(wired.get_feature(nullptr, 0), 0);
}

TEST_F(VirtualDriverTest, NothingPluggedMeansBothLinksAbsent) {
  EXPECT_EQ(StartLikeTheProgram(), std::make_pair(0, 0));
  EXPECT_EQ(wired.Send(EncodeModeSelectReport(*blank)), 0);
  EXPECT_TRUE(window.Messages().empty());
}

TEST_F(VirtualDriverTest, UnknownIdsServeNothing) {
  ASSERT_TRUE(Steer("plug wired"));
  wired.set_vid_pid(0x1234, 0x5678);
  wired.open_monitor(window.Handle(), MS1_WIRED_EVENT_MESSAGE, MS1_WIRED_PLUG_MESSAGE);
  EXPECT_EQ(wired.open_device(), 0);
}

TEST_F(VirtualDriverTest, PlugMessagesReachTheWindowAndOpenFollowsThePlug) {
  StartLikeTheProgram();
  ASSERT_TRUE(Steer("plug wired"));
  ASSERT_TRUE(window.WaitFor(PostedMessage{MS1_WIRED_PLUG_MESSAGE, 1, 0}));
  EXPECT_EQ(wired.open_device(), 1);
  EXPECT_EQ(receiver.open_device(), 0);
  EXPECT_EQ(wired.Send(EncodeModeSelectReport(*blank)), 1);

  ASSERT_TRUE(Steer("plug receiver"));
  ASSERT_TRUE(window.WaitFor(PostedMessage{MS1_RECEIVER_PLUG_MESSAGE, 1, 0}));
  ASSERT_TRUE(Steer("unplug wired"));
  ASSERT_TRUE(window.WaitFor(PostedMessage{MS1_WIRED_PLUG_MESSAGE, 0, 0}));
  // The pulled cable invalidated the open device.
  EXPECT_EQ(wired.Send(EncodeModeSelectReport(*blank)), 0);
  EXPECT_EQ(wired.open_device(), 0);
  // Each link's messages went only to its own numbers, in order.
  EXPECT_EQ(window.Messages(), (std::vector<PostedMessage>{{MS1_WIRED_PLUG_MESSAGE, 1, 0},
                                                           {MS1_RECEIVER_PLUG_MESSAGE, 1, 0},
                                                           {MS1_WIRED_PLUG_MESSAGE, 0, 0}}));
}

TEST_F(VirtualDriverTest, ReceiverReportsAreAcknowledgedOnTheReceiverLink) {
  EXPECT_EQ(StartLikeTheProgram({"receiver"}), std::make_pair(0, 1));
  const Report mode_select = EncodeModeSelectReport(*blank);
  EXPECT_EQ(receiver.Send(mode_select), 1);
  ASSERT_TRUE(window.WaitFor(PostedMessage{MS1_RECEIVER_EVENT_MESSAGE, kAck, 0}));

  Report bad = mode_select;
  bad[3] = 0x00;
  EXPECT_EQ(receiver.Send(bad), 0);
  ASSERT_TRUE(window.WaitFor(PostedMessage{MS1_RECEIVER_EVENT_MESSAGE, kAck, 1}));

  ASSERT_TRUE(Steer("lose-acks 1"));
  EXPECT_EQ(receiver.Send(mode_select), 1);
  EXPECT_EQ(receiver.Send(mode_select), 1);
  ASSERT_TRUE(window.WaitForCount(3));
  EXPECT_EQ(window.Messages(), (std::vector<PostedMessage>{{MS1_RECEIVER_EVENT_MESSAGE, kAck, 0},
                                                           {MS1_RECEIVER_EVENT_MESSAGE, kAck, 1},
                                                           {MS1_RECEIVER_EVENT_MESSAGE, kAck, 0}}));
  EXPECT_EQ(sim.Log()["accepted"].size(), 3u);
}

TEST_F(VirtualDriverTest, RefusalsReturnZeroThroughTheEntryPoint) {
  StartLikeTheProgram({"wired"});
  Report settings = EncodeSettingsReport(*CreateProfile(u"P"), 0);
  EXPECT_EQ(wired.Send(settings), 1);
  settings[50] ^= 0xFF;
  EXPECT_EQ(wired.Send(settings), 0);
  ASSERT_TRUE(Steer("refuse 2"));
  EXPECT_EQ(wired.Send(EncodeModeSelectReport(*blank)), 0);
  EXPECT_EQ(wired.Send(EncodeModeSelectReport(*blank)), 0);
  EXPECT_EQ(wired.Send(EncodeModeSelectReport(*blank)), 1);
  EXPECT_EQ(wired.set_feature(nullptr, 10), 0);
  EXPECT_EQ(wired.set_feature(settings.data(), -1), 0);
  const nlohmann::json log = sim.Log();
  EXPECT_EQ(log["accepted"].size(), 2u);
  EXPECT_EQ(log["refused"].size(), 3u);
}

TEST_F(VirtualDriverTest, DeviceEventsBecomeDataMessages) {
  StartLikeTheProgram({"wired", "receiver"});
  ASSERT_TRUE(Steer("press dpi 5"));
  ASSERT_TRUE(window.WaitFor(PostedMessage{MS1_WIRED_EVENT_MESSAGE, 0x1000, 5}));
  ASSERT_TRUE(Steer("battery 6"));
  ASSERT_TRUE(window.WaitFor(PostedMessage{MS1_RECEIVER_EVENT_MESSAGE, 0x4010, 0x0601}));
  ASSERT_TRUE(window.WaitFor(PostedMessage{MS1_RECEIVER_EVENT_MESSAGE, 0x6000, 6}));
  ASSERT_TRUE(Steer("sleep"));
  ASSERT_TRUE(window.WaitFor(PostedMessage{MS1_RECEIVER_EVENT_MESSAGE, 0x4010, 0x0600}));
  EXPECT_EQ(sim.State()["asleep"], true);
  EXPECT_FALSE(Steer("press dpi 9"));
  ASSERT_TRUE(Steer("unplug wired"));
  ASSERT_TRUE(Steer("press mode 2"));  // wakes the mouse; reported over the receiver now
  ASSERT_TRUE(window.WaitFor(PostedMessage{MS1_RECEIVER_EVENT_MESSAGE, 0x8000, 2}));
}

TEST_F(VirtualDriverTest, AnAwakeMouseKeepsReportingItsStatusOverTheReceiver) {
  StartLikeTheProgram({"receiver"});
  ASSERT_TRUE(Steer("heartbeat 10"));
  const PostedMessage status{MS1_RECEIVER_EVENT_MESSAGE, 0x4010, 0x0801};
  auto count = [&] {
    std::size_t n = 0;
    for (const PostedMessage& m : window.Messages()) n += m == status;
    return n;
  };
  ASSERT_TRUE(window.WaitFor(status));
  ASSERT_TRUE(window.WaitForCount(3));
  EXPECT_EQ(count(), window.Messages().size());
  ASSERT_TRUE(Steer("heartbeat 0"));
}

// Forced full applies of many profiles: the mouse holds what each profile
// says for mode records 0 and 1, and its log is the report list.
TEST_F(VirtualDriverTest, ForcedFullAppliesLeaveTheMouseHoldingTheProfile) {
  StartLikeTheProgram({"wired", "receiver"});
  for (unsigned seed = 1; seed <= 12; ++seed) {
    const bool over_wire = seed % 3 != 0;
    const auto profile = test::SampleProfile(seed, static_cast<int>(seed % 5));
    const ApplyPlan plan = PlanApply(*profile, *blank, true);
    const std::vector<Report> sent = test::ReportsForLink(plan, over_wire);
    ASSERT_TRUE(Steer("clear-log"));
    for (const Report& report : sent) {
      ASSERT_EQ((over_wire ? wired : receiver).Send(report), 1) << vmouse::ToHex(report);
    }
    const nlohmann::json state = sim.State();
    const nlohmann::json log = sim.Log()["accepted"];
    ASSERT_EQ(log.size(), sent.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
      EXPECT_EQ(log[i]["report"], vmouse::ToHex(sent[i])) << "report " << i;
      EXPECT_EQ(log[i]["link"], over_wire ? "wired" : "receiver");
    }
    EXPECT_EQ(test::MissingFromMouse(state, *profile), "");
    for (int k = 0; k < 2; ++k) {
      const nlohmann::json& mode = state["modes"][k];
      EXPECT_EQ(mode["lighting"]["effect"], profile->modes[k].light_effect);
      EXPECT_EQ(mode["settings"]["dpi_level"], profile->modes[k].dpi_level + 1);
    }
  }
  // Every receiver report was acknowledged on the receiver link only.
  for (const PostedMessage& m : window.Messages()) {
    EXPECT_EQ(m, (PostedMessage{MS1_RECEIVER_EVENT_MESSAGE, kAck, 0}));
  }
}

TEST_F(VirtualDriverTest, TheMouseVanishesWhenTheSimulatorStops) {
  StartLikeTheProgram({"wired"});
  sim.Stop();
  ASSERT_TRUE(window.WaitFor(PostedMessage{MS1_WIRED_PLUG_MESSAGE, 0, 0}));
  EXPECT_EQ(wired.Send(EncodeModeSelectReport(*blank)), 0);
}

// A staged fault strikes after exactly the counted reports: the link goes
// (the rest of the reports fail), and a simulator that died is followed again
// once it is back, with its plug and a device that opens.
TEST_F(VirtualDriverTest, StagedFaultsStrikeAfterTheCountedReports) {
  struct Case {
    const char* fault;
    std::vector<int32_t> results;  // of four sends
  };
  const Case cases[] = {
      {"after 2 unplug wired", {1, 1, 0, 0}},
      {"after 1 unplug wired", {1, 0, 0, 0}},
      {"after 2 die", {1, 0, 0, 0}},  // the second arrived, but no answer came back
  };
  StartLikeTheProgram({"wired"});
  const Report report = EncodeModeSelectReport(*blank);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    const test::ProcessExitWatch simulator(sim.Pid());
    window.Clear();
    ASSERT_EQ(wired.open_device(), 1);
    ASSERT_TRUE(Steer(c.fault));
    std::vector<int32_t> results;
    for (int i = 0; i < 4; ++i) results.push_back(wired.Send(report));
    EXPECT_EQ(results, c.results);
    ASSERT_TRUE(window.WaitFor(PostedMessage{MS1_WIRED_PLUG_MESSAGE, 0, 0}));
    if (std::string(c.fault).ends_with("die")) {
      ASSERT_TRUE(simulator.WaitForExit(test::kSimulatorExitLimitMs));
      ASSERT_TRUE(sim.Restart("wired"));
    } else {
      ASSERT_TRUE(Steer("plug wired"));
    }
    ASSERT_TRUE(window.WaitFor(PostedMessage{MS1_WIRED_PLUG_MESSAGE, 1, 0}));
  }
  EXPECT_FALSE(Steer("after 0 die"));
  EXPECT_FALSE(Steer("after 3 unplug cable"));
  ASSERT_EQ(wired.open_device(), 1);
  EXPECT_EQ(wired.Send(report), 1);
}

}  // namespace
}  // namespace ms1

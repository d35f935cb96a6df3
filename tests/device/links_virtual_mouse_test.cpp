// Links and device events end to end: the virtual mouse's driver libraries
// post plug and data messages to a window, which hands them to the connection
// manager as the main window does; timers and pauses are the recording fakes.
#include <gtest/gtest.h>

#include "../libs/sim_instance.h"
#include "../libs/test_window.h"
#include "device/connection_manager.h"
#include "device/device_event_handler.h"
#include "device/messages.h"
#include "link_fakes.h"
#include "model/profile.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

using Calls = std::vector<std::string>;

class LinksVirtualMouseTest : public ::testing::Test {
 protected:
  test::SimInstance sim{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  test::TestWindow window;
  std::size_t handled = 0;
  LinkState links;
  FeatureDrivers drivers;
  test::RecordingLinkView view;
  test::FakeLinkHost host;
  ChargeDisplay charge{view};
  test::RecordingBluetooth bluetooth;
  PageModel model;
  test::FakeStore store;
  DeviceEventHandler events{model, links, view, host, store};
  ConnectionManager manager{links,  drivers, view, host, charge, bluetooth,
                            [this](DeviceEvent e) { events.HandleDeviceEvent(e); },
                            [] { return false; }};

  void SetUp() override {
    model.With([](PageState& s) { s.profiles.push_back(CreateProfile(u"P")); });
    manager.Start(test::paths::VirtualDriversFolder() + "/", window.Handle());
  }
  void TearDown() override {
    drivers.CloseAll();
    drivers.Unload();
  }

  // What the main window does with the driver messages, one at a time.
  void Dispatch(const test::PostedMessage& m) {
    switch (m.message) {
      case msg::kWiredPlug: manager.OnWiredLink(PlugEvent(m.w_param)); break;
      case msg::kWiredEvent: manager.OnWiredLink(DataEvent(m.w_param, m.l_param)); break;
      case msg::kReceiverPlug: manager.OnReceiverLink(PlugEvent(m.w_param)); break;
      case msg::kReceiverEvent: manager.OnReceiverLink(DataEvent(m.w_param, m.l_param)); break;
      default: break;
    }
    host.RunDelayed();  // an arrival's settling pause is over at once here
  }
  // Steers the mouse, then handles messages until `done` holds.
  void SteerUntil(const std::string& request, const std::function<bool()>& done) {
    ASSERT_TRUE(sim.Request(request).value("ok", false)) << request;
    for (int round = 0; round < 100 && !done(); ++round) {
      if (!window.WaitForCount(handled + 1)) break;
      const auto messages = window.Messages();
      while (handled < messages.size()) Dispatch(messages[handled++]);
    }
    ASSERT_TRUE(done()) << "after " << request;
  }
  ProfileRecord Current() {
    return model.With([](PageState& s) { return *s.Current(); });
  }
};

TEST_F(LinksVirtualMouseTest, CablePluggedAndPulled) {
  EXPECT_EQ(links.devicePresent, 0);
  EXPECT_EQ(links.mouseAsleep, 1);

  SteerUntil("plug wired", [&] { return links.wiredState == link_presence::kPresent; });
  EXPECT_EQ(links.devicePresent, 1);
  EXPECT_EQ(links.mouseAsleep, 0);
  EXPECT_TRUE(view.icons[ConnectionMode::kWired]);
  EXPECT_EQ(view.label, "[charging_text]");
  // The device was opened on arrival: a report goes through.
  const Report mode_select = {0x0C, 0x0A, 0x01, 0xFE, 0x02, 0xFD, 0, 0, 0, 0};
  EXPECT_NE(drivers.wired()->SetFeature(mode_select.data(), 10), 0);

  SteerUntil("press dpi 3", [&] { return store.saves == 1; });
  for (const ModeRecord& m : Current().modes) EXPECT_EQ(m.dpi_level, 2);
  EXPECT_EQ(host.CountPosts(msg::kShowDpi), 1);

  SteerUntil("press dpi 3", [&] { return store.saves == 2; });  // a repeat saves again
  SteerUntil("unplug wired", [&] { return links.wiredState == link_presence::kRemoved; });
  EXPECT_EQ(links.devicePresent, 0);
  EXPECT_TRUE(view.sleep_label);
  EXPECT_FALSE(view.charge_timer);
  EXPECT_EQ(drivers.wired()->SetFeature(mode_select.data(), 10), 0);
}

TEST_F(LinksVirtualMouseTest, ReceiverWakesWithStatusAndFollowsTheMode) {
  SteerUntil("plug receiver", [&] { return links.receiverState == link_presence::kPresent; });
  EXPECT_EQ(links.receiverAwake, 0);
  EXPECT_TRUE(host.running_timers.count(timer::kReceiverHeartbeat));

  manager.OnHeartbeatTimeout();  // silent for 6000 ms
  EXPECT_FALSE(view.icons[ConnectionMode::kReceiver]);

  SteerUntil("battery 7", [&] { return links.receiverAwake == 1; });
  EXPECT_TRUE(view.icons[ConnectionMode::kReceiver]);
  EXPECT_EQ(view.ring, 70);
  EXPECT_EQ(view.label, "70%");
  EXPECT_EQ(links.mouseAsleep, 0);

  SteerUntil("press mode 3", [&] { return Current().active_mode == 3; });
  EXPECT_EQ(store.saves, 1);

  SteerUntil("sleep", [&] { return links.mouseAsleep == 1; });
  SteerUntil("unplug receiver", [&] { return links.receiverState == link_presence::kRemoved; });
  EXPECT_EQ(links.devicePresent, 0);
  EXPECT_FALSE(host.running_timers.count(timer::kReceiverHeartbeat));
}

}  // namespace
}  // namespace ms1

#include "device/connection_manager.h"

#include <gtest/gtest.h>

#include "device/link_panels.h"
#include "device/messages.h"
#include "link_fakes.h"

namespace ms1 {
namespace {

using namespace std::chrono_literals;
using Calls = std::vector<std::string>;

class ConnectionManagerTest : public ::testing::Test {
 protected:
  LinkState links;
  FeatureDrivers drivers;  // no libraries: the plug messages are driven by the tests
  test::RecordingLinkView view;
  test::FakeLinkHost host;
  ChargeDisplay charge{view};
  test::RecordingBluetooth bluetooth;
  std::vector<DeviceEvent> device_events;
  bool bluetooth_at_start = false;
  int usable = 0;  // times a link was told usable
  ConnectionManager manager{links,  drivers, view, host, charge, bluetooth,
                            [this](DeviceEvent e) { device_events.push_back(e); },
                            [this] { return bluetooth_at_start; }, [this] { ++usable; }};

  void StartWithoutDevice() {
    manager.Start("/nonexistent/", Ms1WindowHandle{nullptr, nullptr});
    view.Take();
    host.posts.clear();
    host.timer_calls.clear();
  }
  int PresencePosts() const { return host.CountPosts(msg::kDevicePresence); }
};

TEST_F(ConnectionManagerTest, NoDeviceAtStartLeavesEverythingAbsentAndAsleep) {
  manager.Start("/nonexistent/", Ms1WindowHandle{nullptr, nullptr});
  EXPECT_EQ(links.wiredState, link_presence::kNeverSeen);
  EXPECT_EQ(links.receiverState, link_presence::kNeverSeen);
  EXPECT_EQ(links.bleConnected, 0);
  EXPECT_EQ(links.mouseAsleep, 1);
  EXPECT_EQ(links.devicePresent, 0);
  EXPECT_TRUE(view.sleep_label);
  EXPECT_FALSE(view.icons[ConnectionMode::kWired]);
  EXPECT_FALSE(view.icons[ConnectionMode::kReceiver]);
  EXPECT_EQ(PresencePosts(), 1);
  EXPECT_TRUE(host.running_timers.empty());
}

TEST_F(ConnectionManagerTest, BluetoothFoundAtStartCountsAsPresent) {
  bluetooth_at_start = true;
  manager.Start("/nonexistent/", Ms1WindowHandle{nullptr, nullptr});
  EXPECT_EQ(links.bleConnected, 1);
  EXPECT_EQ(links.devicePresent, 1);
  EXPECT_EQ(PresencePosts(), 1);
}

TEST_F(ConnectionManagerTest, WiredArrivalAndRemoval) {
  StartWithoutDevice();
  manager.OnWiredLink(PlugEvent(1));
  manager.OnWiredLink(PlugEvent(1));  // again while it settles: the same arrival
  EXPECT_EQ(host.Delays(), (std::vector<std::chrono::milliseconds>{1000ms}));
  EXPECT_NE(links.wiredState, link_presence::kPresent) << "the mouse needs a moment first";
  EXPECT_TRUE(view.Take().empty());
  host.RunDelayed();
  EXPECT_EQ(links.wiredState, link_presence::kPresent);
  EXPECT_EQ(links.mouseAsleep, 0);
  EXPECT_EQ(links.devicePresent, 1);
  EXPECT_EQ(PresencePosts(), 1);
  EXPECT_EQ(view.Take(), (Calls{"sleep off", "icon wired on", "lighting", "prate on",
                                "power-toggle on", "label [charging_text]", "sweep 0",
                                "charge start"}));

  manager.OnWiredLink(PlugEvent(1));  // repeated arrival: no pause, no second open
  EXPECT_TRUE(host.delayed.empty());
  EXPECT_TRUE(view.Take().empty());
  EXPECT_EQ(usable, 1);

  manager.OnWiredLink(PlugEvent(0));
  EXPECT_EQ(links.wiredState, link_presence::kRemoved);
  EXPECT_EQ(links.mouseAsleep, 1);
  EXPECT_EQ(links.devicePresent, 0);
  EXPECT_EQ(PresencePosts(), 2);
  EXPECT_EQ(view.Take(), (Calls{"sleep on", "icon wired off", "label ", "charge stop"}));

  manager.OnWiredLink(PlugEvent(0));  // repeated removal
  manager.OnWiredLink(PlugEvent(5));  // neither
  EXPECT_TRUE(view.Take().empty());
  EXPECT_EQ(PresencePosts(), 2);
}

TEST_F(ConnectionManagerTest, DeviceEventsPassOnlyInTheirCodeRange) {
  StartWithoutDevice();
  for (uint16_t code : {0x0FFF, 0x1000, 0x4010, 0x9000, 0x9001, 0x0000}) {
    manager.OnWiredLink({code, 1});
    manager.OnReceiverLink({code, 2});
  }
  EXPECT_EQ(device_events, (std::vector<DeviceEvent>{{0x1000, 1}, {0x1000, 2}, {0x4010, 1},
                                                     {0x4010, 2}, {0x9000, 1}, {0x9000, 2}}));
}

TEST_F(ConnectionManagerTest, SilentReceiverShowsItsIconUntilTheHeartbeatEnds) {
  StartWithoutDevice();
  manager.OnReceiverLink(PlugEvent(1));
  host.RunDelayed();
  EXPECT_EQ(links.receiverState, link_presence::kPresent);
  EXPECT_EQ(links.receiverAwake, 0);
  EXPECT_EQ(host.running_timers.at(timer::kReceiverHeartbeat), 6000ms);
  EXPECT_EQ(view.Take(), (Calls{"icon receiver on"}));  // the panels wait for the mouse
  EXPECT_EQ(links.devicePresent, 1);
  EXPECT_EQ(usable, 1);

  manager.OnHeartbeatTimeout();
  EXPECT_FALSE(host.running_timers.count(timer::kReceiverHeartbeat));
  EXPECT_EQ(view.Take(), (Calls{"icon receiver off", "sleep on"}));
  EXPECT_EQ(links.receiverState, link_presence::kPresent);
  EXPECT_EQ(links.devicePresent, 1);
}

TEST_F(ConnectionManagerTest, ReceiverPulledWhileWiredKeepsThePresence) {
  StartWithoutDevice();
  manager.OnWiredLink(PlugEvent(1));
  manager.OnReceiverLink(PlugEvent(1));
  host.RunDelayed();
  const int posts = PresencePosts();
  manager.OnReceiverLink(PlugEvent(0));
  EXPECT_EQ(links.receiverState, link_presence::kRemoved);
  EXPECT_EQ(links.devicePresent, 1);
  EXPECT_EQ(PresencePosts(), posts);
  EXPECT_FALSE(host.running_timers.count(timer::kReceiverHeartbeat));
}

// A link that goes, or a session that stops, while an arrival settles never
// counts as arrived; a later arrival settles on its own.
TEST_F(ConnectionManagerTest, AnArrivalCancelledWhileItSettlesNeverHappens) {
  struct Case {
    const char* name;
    std::function<void()> during_the_wait;
    bool arrives_again;
  };
  auto wired = [&](int value) { manager.OnWiredLink(PlugEvent(value)); };
  auto receiver = [&](int value) { manager.OnReceiverLink(PlugEvent(value)); };
  const Case cases[] = {
      {"pulled", [&] { wired(0); receiver(0); }, false},
      {"pulled and plugged", [&] { wired(0); receiver(0); wired(1); receiver(1); }, true},
      {"session stopped", [&] { manager.Stop(); wired(1); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LinkState fresh;
    links.wiredState = fresh.wiredState.load();
    links.receiverState = fresh.receiverState.load();
    usable = 0;
    wired(1);
    receiver(1);
    c.during_the_wait();
    host.RunDelayed();
    EXPECT_EQ(links.wiredState == link_presence::kPresent, c.arrives_again);
    EXPECT_EQ(links.receiverState == link_presence::kPresent, c.arrives_again);
    EXPECT_EQ(usable, c.arrives_again ? 2 : 0);
  }
}

TEST_F(ConnectionManagerTest, BluetoothArrivalAndRemoval) {
  StartWithoutDevice();
  manager.OnBluetoothChange(LinkChange::kArrived);
  EXPECT_EQ(bluetooth.calls, (Calls{"connect VID&02045E PID&0040"}));
  EXPECT_EQ(links.bleConnected, 1);
  EXPECT_EQ(links.mouseAsleep, 0);
  EXPECT_EQ(links.devicePresent, 1);
  EXPECT_EQ(view.Take(), (Calls{"sleep off", "icon bluetooth on", "lighting", "prate off",
                                "power-toggle off", "power-panel off"}));

  manager.OnBluetoothChange(LinkChange::kArrived);  // already connected: ignored
  manager.OnBluetoothLink(true);
  EXPECT_EQ(usable, 1);

  manager.OnBluetoothChange(LinkChange::kRemoved);
  manager.OnBluetoothChange(LinkChange::kRemoved);  // handled again
  EXPECT_EQ(bluetooth.calls, (Calls{"connect VID&02045E PID&0040", "connect VID&02045E PID&0040",
                                     "disconnect", "disconnect"}));
  EXPECT_EQ(links.devicePresent, 0);
  EXPECT_EQ(PresencePosts(), 4);
  EXPECT_EQ(usable, 1);
  EXPECT_TRUE(view.sleep_label);
}

// Every combination of links: named in their fixed order, and any one opens an apply.
TEST(LinkState, PresentLinksAreNamedInOrderAndAnyOneIsOpen) {
  for (int mask = 0; mask < 8; ++mask) {
    LinkState links;
    links.wiredState = (mask & 1) != 0 ? link_presence::kPresent : link_presence::kRemoved;
    links.receiverState = (mask & 2) != 0 ? link_presence::kPresent : link_presence::kNeverSeen;
    links.bleConnected = (mask & 4) != 0 ? 1 : 0;
    Calls expected;
    if ((mask & 1) != 0) expected.push_back("wired");
    if ((mask & 2) != 0) expected.push_back("receiver");
    if ((mask & 4) != 0) expected.push_back("ble");
    EXPECT_EQ(links.PresentLinkNames(), expected) << mask;
    EXPECT_EQ(links.AnyLinkOpen(), mask != 0) << mask;
  }
}

TEST(LinkPanels, FollowTheBestLink) {
  LinkState links;
  test::RecordingLinkView view;
  RefreshLinkPanels(links, view);
  EXPECT_TRUE(view.Take().empty());

  links.receiverState = link_presence::kPresent;
  RefreshLinkPanels(links, view);
  EXPECT_TRUE(view.Take().empty());  // receiver without an awake mouse
  links.receiverAwake = 1;
  RefreshLinkPanels(links, view);
  EXPECT_EQ(view.Take(), (Calls{"lighting", "prate on", "power-toggle on", "power-panel on"}));

  links.bleConnected = 1;
  links.receiverAwake = 0;
  RefreshLinkPanels(links, view);
  EXPECT_EQ(view.Take(), (Calls{"lighting", "prate off", "power-toggle off", "power-panel off"}));
}

TEST(ChargeDisplay, SweepsInStepsOfTwoAndWraps) {
  test::RecordingLinkView view;
  ChargeDisplay charge(view);
  view.SetPowerRing(60);  // the battery level before the cable came
  charge.Start();
  EXPECT_EQ(view.label, "[charging_text]");
  EXPECT_TRUE(view.charge_timer);
  EXPECT_FALSE(view.ring_percentage) << "no level is known while charging";
  std::vector<int> rings;
  for (int tick = 0; tick < 52; ++tick) {
    charge.Tick();
    rings.push_back(view.ring);
    EXPECT_FALSE(view.ring_percentage) << tick;
  }
  EXPECT_EQ(rings[0], 0);
  EXPECT_EQ(rings[50], 100);
  EXPECT_EQ(rings[51], 0);  // 51 ticks per sweep
  charge.Stop();
  EXPECT_EQ(view.label, "");
  EXPECT_FALSE(view.charge_timer);
  EXPECT_EQ(view.ring, 0);  // the ring keeps its last value
  EXPECT_FALSE(view.ring_percentage) << "and shows no stale percentage";
  charge.Tick();
  charge.Start();  // a new arrival sweeps from 0 again
  charge.Tick();
  EXPECT_EQ(view.ring, 0);
}

}  // namespace
}  // namespace ms1

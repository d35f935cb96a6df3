#include "device/device_event_handler.h"

#include <gtest/gtest.h>

#include <cstring>

#include "device/messages.h"
#include "link_fakes.h"
#include "model/profile.h"

namespace ms1 {
namespace {

using Calls = std::vector<std::string>;

class DeviceEventHandlerTest : public ::testing::Test {
 protected:
  PageModel model;
  LinkState links;
  test::RecordingLinkView view;
  test::FakeLinkHost host;
  test::FakeStore store;
  int apply_requests = 0;
  DeviceEventHandler handler{model, links, view, host, store, [this] { ++apply_requests; }};

  void SetUp() override {
    model.With([](PageState& s) {
      s.profiles.push_back(CreateProfile(u"P"));
      s.selected = 0;
    });
  }
  ProfileRecord Current() {
    return model.With([](PageState& s) { return *s.Current(); });
  }
  bool LastAppliedEqualsCurrent() {
    return model.With([](PageState& s) {
      return std::memcmp(s.Current(), s.last_applied.get(), sizeof(ProfileRecord)) == 0;
    });
  }
  ProfileRecord LastApplied() {
    return model.With([](PageState& s) { return *s.last_applied; });
  }
};

TEST_F(DeviceEventHandlerTest, DpiLevelGoesIntoEveryModeShowsTheIndicatorAndSaves) {
  model.With([](PageState& s) { s.Current()->modes[0].dpi_value[2] = 77; });
  handler.HandleDeviceEvent({event::kDpiLevel, 3});
  const ProfileRecord p = Current();
  for (const ModeRecord& m : p.modes) EXPECT_EQ(m.dpi_level, 2);
  EXPECT_EQ(view.Take(), (Calls{"dpi-option 3"}));
  ASSERT_EQ(host.CountPosts(msg::kShowDpi), 1);
  EXPECT_EQ(host.posts.back().l_param, 77);  // from the active mode's table
  EXPECT_EQ(store.saves, 1);
  for (const ModeRecord& m : LastApplied().modes) EXPECT_EQ(m.dpi_level, 2);
}

TEST_F(DeviceEventHandlerTest, OutOfRangeSettingEventsAreIgnoredWithoutASave) {
  for (DeviceEvent e : {DeviceEvent{event::kDpiLevel, 0}, DeviceEvent{event::kDpiLevel, 9},
                        DeviceEvent{event::kPollingRate, 0}, DeviceEvent{event::kPollingRate, 9},
                        DeviceEvent{event::kMode, 5}, DeviceEvent{event::kBattery, 11},
                        DeviceEvent{event::kNothing, 1}, DeviceEvent{0x9000, 1}}) {
    handler.HandleDeviceEvent(e);
  }
  EXPECT_EQ(store.saves, 0);
  EXPECT_TRUE(view.Take().empty());
  EXPECT_TRUE(host.posts.empty());
  EXPECT_EQ(handler.battery_level(), 0);
  EXPECT_FALSE(LastAppliedEqualsCurrent());
}

TEST_F(DeviceEventHandlerTest, PollingRateAndConfigurationChangeSave) {
  handler.HandleDeviceEvent({event::kPollingRate, 1});
  for (const ModeRecord& m : Current().modes) EXPECT_EQ(m.polling_rate, 3);
  for (const ModeRecord& m : LastApplied().modes) EXPECT_EQ(m.polling_rate, 3);
  handler.HandleDeviceEvent({event::kConfigChanged, 0xABCD});
  EXPECT_EQ(store.saves, 2);
  EXPECT_FALSE(LastAppliedEqualsCurrent());  // only what the mouse reported counts as sent
}

TEST_F(DeviceEventHandlerTest, ModeEventRefreshesAndSelectsOnlyExistingOptions) {
  handler.HandleDeviceEvent({event::kMode, 3});
  EXPECT_EQ(Current().active_mode, 3);
  EXPECT_EQ(view.Take(), (Calls{"refresh"}));
  handler.HandleDeviceEvent({event::kMode, 1});
  EXPECT_EQ(Current().active_mode, 1);
  EXPECT_EQ(view.Take(), (Calls{"refresh", "mode-option 1"}));
  EXPECT_EQ(store.saves, 2);
}

TEST_F(DeviceEventHandlerTest, StatusDrivesHeartbeatAwakeStateAndBattery) {
  links.receiverState = link_presence::kPresent;
  handler.HandleDeviceEvent({event::kStatus, 0x0701});
  EXPECT_EQ(host.timer_calls, (Calls{"start 100"}));
  EXPECT_EQ(links.receiverAwake, 1);
  EXPECT_EQ(links.mouseAsleep, 0);
  EXPECT_EQ(handler.battery_level(), 7);
  EXPECT_EQ(view.Take(), (Calls{"icon receiver on", "lighting", "prate on", "power-toggle on",
                                "power-panel on", "sleep on", "sleep off", "ring 70",
                                "label 70%", "battery 70"}));

  for (uint16_t value : {0x0001, 0x0B01}) {  // battery level 0 or above 10: awake handling only
    handler.HandleDeviceEvent({event::kStatus, value});
    EXPECT_EQ(view.Take(), (Calls{"sleep off"}));
  }
  EXPECT_EQ(handler.battery_level(), 7);
  EXPECT_EQ(store.saves, 0);
}

TEST_F(DeviceEventHandlerTest, StatusAsleepWhileWiredStopsApplies) {
  links.wiredState = link_presence::kPresent;
  links.mouseAsleep = 0;
  handler.HandleDeviceEvent({event::kStatus, 0x0500});
  EXPECT_EQ(links.mouseAsleep, 1);
  EXPECT_TRUE(view.sleep_label);
  handler.HandleDeviceEvent({event::kStatus, 0x0501});
  EXPECT_EQ(links.mouseAsleep, 0);
  EXPECT_FALSE(view.sleep_label);
}

// Edits made while the mouse slept were saved but not sent: the mouse
// reporting itself awake asks for one apply, and only then.
// Waking, or the first status after the heartbeat ran out (the mouse was off
// or out of range), brings what waits to the mouse.
TEST_F(DeviceEventHandlerTest, WakingWithUnsentEditsRequestsAnApply) {
  struct Case {
    int asleep_before;
    int heard_lately;  // receiverAwake before the status
    uint16_t status;
    bool unsent;
    int requests;
  };
  for (const Case c : {Case{1, 1, 0x0501, true, 1}, Case{1, 1, 0x0501, false, 0},
                       Case{0, 1, 0x0501, true, 0}, Case{1, 1, 0x0500, true, 0},
                       Case{0, 0, 0x0501, true, 1}, Case{0, 0, 0x0501, false, 0},
                       Case{0, 0, 0x0500, true, 0}}) {
    model.With([&](PageState& s) {
      std::memcpy(s.last_applied.get(), s.Current(), sizeof(ProfileRecord));
      if (c.unsent) s.Current()->modes[0].sleep_timer += 1;
    });
    links.mouseAsleep = c.asleep_before;
    links.receiverAwake = c.heard_lately;
    apply_requests = 0;
    handler.HandleDeviceEvent({event::kStatus, c.status});
    EXPECT_EQ(apply_requests, c.requests)
        << c.asleep_before << " " << c.heard_lately << " " << c.status << " " << c.unsent;
  }
}

TEST_F(DeviceEventHandlerTest, AcknowledgementAndBatteryLevel) {
  handler.HandleDeviceEvent({event::kAcknowledge, 0x0100});
  EXPECT_EQ(links.ackReceived, 1);
  handler.HandleDeviceEvent({event::kAcknowledge, 0x0001});
  EXPECT_EQ(links.ackReceived, 0);
  handler.HandleDeviceEvent({event::kBattery, 4});
  EXPECT_EQ(handler.battery_level(), 4);
  EXPECT_EQ(view.Take(), (Calls{"battery 40"}));  // the ring stays; the desktop is told
  handler.HandleDeviceEvent({event::kBattery, 11});
  EXPECT_TRUE(view.Take().empty());
}

TEST_F(DeviceEventHandlerTest, BluetoothNotificationsRunOnTheInterfaceThreadInOrder) {
  const std::vector<uint8_t> first = {0x00, 0x10, 0x02, 0x00};
  const std::vector<uint8_t> second = {0x00, 0x80, 0x01, 0x00};
  const std::vector<uint8_t> short_one = {0x10, 0x50, 0x00};
  handler.OnBluetoothNotification(first);
  handler.OnBluetoothNotification(short_one);
  handler.OnBluetoothNotification({});
  handler.OnBluetoothNotification(second);
  EXPECT_EQ(Current().modes[0].dpi_level, 0);  // nothing happens on the calling thread
  ASSERT_EQ(host.interface_work.size(), 2u);
  host.RunInterfaceWork();
  EXPECT_EQ(Current().modes[0].dpi_level, 1);
  EXPECT_EQ(Current().active_mode, 1);
  EXPECT_EQ(view.Take(), (Calls{"dpi-option 2", "refresh", "mode-option 1"}));
}

}  // namespace
}  // namespace ms1

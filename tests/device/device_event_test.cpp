#include "device/device_event.h"

#include <gtest/gtest.h>
#include <hidapi/hidapi.h>

#include <vector>

#include "device/bluetooth/bluetooth_presence.h"
#include "libs/featuredriver/event_report.h"

namespace ms1 {
namespace {

TEST(LinkEvents, PlugAndDataMessagesBecomeEvents) {
  EXPECT_EQ(PlugEvent(1), (DeviceEvent{0x7F00, 1}));
  EXPECT_EQ(PlugEvent(0), (DeviceEvent{0x7F00, 2}));
  EXPECT_EQ(PlugEvent(7), (DeviceEvent{0x7F00, 0}));
  EXPECT_EQ(DataEvent(0x11000, static_cast<intptr_t>(0x7FFF0003)), (DeviceEvent{0x1000, 3}));
  EXPECT_EQ(DataEvent(0x4010, -1), (DeviceEvent{0x4010, 0xFFFF}));
}

TEST(BluetoothNotification, TakesCodeAndValueLittleEndianAndNeedsFourBytes) {
  const std::vector<uint8_t> status = {0x10, 0x40, 0x01, 0x07, 0xEE};
  EXPECT_EQ(ParseBluetoothNotification(status), (DeviceEvent{0x4010, 0x0701}));
  for (std::size_t n = 0; n < 4; ++n) {
    EXPECT_FALSE(ParseBluetoothNotification(std::span(status.data(), n))) << n;
  }
}

TEST(EventDecoding, DriverReportsAndBluetoothNotificationsAgreeOnEveryLength) {
  const uint8_t bytes[] = {0x00, 0x20, 0x04, 0x00, 0x99, 0x99};
  for (std::size_t n = 0; n <= sizeof bytes; ++n) {
    EXPECT_EQ(hiddriver::ParseEventReport(bytes, n), ParseBluetoothNotification({bytes, n})) << n;
  }
  EXPECT_EQ(hiddriver::ParseEventReport(bytes, 4), (DeviceEvent{0x2000, 4}));
}

TEST(DescribeDeviceEvent, ReadsLikeTheMonitorShowsIt) {
  EXPECT_EQ(DescribeDeviceEvent({0x1000, 3}), "dpi level 3");
  EXPECT_EQ(DescribeDeviceEvent({0x4010, 0x0701}), "battery 70% awake");
  EXPECT_EQ(DescribeDeviceEvent({0x4010, 0x0000}), "status asleep");
  EXPECT_EQ(DescribeDeviceEvent({0x5010, 0x0000}), "ack accepted");
  EXPECT_EQ(DescribeDeviceEvent({0x5010, 0x0001}), "ack refused");
  EXPECT_EQ(DescribeDeviceEvent({0x8000, 3}), "mode 3");
  EXPECT_EQ(DescribeDeviceEvent({0x7F00, 2}), "unplugged");
  EXPECT_EQ(DescribeDeviceEvent({0x1234, 0xABCD}), "event 1234 value ABCD");
}

TEST(BluetoothPresence, RecognisesOnlyTheMouseOverBluetooth) {
  EXPECT_TRUE(IsMouseBluetoothHidId("0005:0000045E:00000040"));
  EXPECT_TRUE(IsMouseBluetoothHidId("0005:0000045e:00000040"));
  EXPECT_FALSE(IsMouseBluetoothHidId("0003:0000045E:00000040"));  // over USB
  EXPECT_FALSE(IsMouseBluetoothHidId("0005:00001D57:0000FA60"));
  EXPECT_FALSE(IsMouseBluetoothHidId("0005:0000045E"));
  EXPECT_FALSE(IsMouseBluetoothHidId(""));
  EXPECT_FALSE(IsMouseBluetoothHidId("0005:0000045E:00000040x"));
}

// The start-up enumeration: the ids alone are not enough, the bus must be
// Bluetooth, wherever in the list the mouse stands.
TEST(BluetoothPresence, EnumerationCountsTheMouseOnlyOnTheBluetoothBus) {
  auto node = [](hid_bus_type bus, unsigned short vendor, unsigned short product) {
    hid_device_info d{};
    d.bus_type = bus;
    d.vendor_id = vendor;
    d.product_id = product;
    return d;
  };
  struct Case {
    std::vector<hid_device_info> list;
    bool present;
  };
  const std::vector<Case> cases = {
      {{}, false},
      {{node(HID_API_BUS_BLUETOOTH, 0x045E, 0x0040)}, true},
      {{node(HID_API_BUS_USB, 0x045E, 0x0040)}, false},
      {{node(HID_API_BUS_UNKNOWN, 0x045E, 0x0040)}, false},
      {{node(HID_API_BUS_USB, 0x045E, 0x0040), node(HID_API_BUS_BLUETOOTH, 0x045E, 0x0040)}, true},
      {{node(HID_API_BUS_BLUETOOTH, 0x045E, 0x0041)}, false},
  };
  for (Case c : cases) {
    for (std::size_t i = 0; i + 1 < c.list.size(); ++i) c.list[i].next = &c.list[i + 1];
    EXPECT_EQ(ListHasBluetoothMouse(c.list.empty() ? nullptr : c.list.data()), c.present)
        << c.list.size();
  }
}

TEST(BluetoothPresence, TrackerSeesRemovalOfKnownNodesOnly) {
  BluetoothNodeTracker tracker;
  const std::string mouse = "/sys/devices/virtual/misc/uhid/0005:045E:0040.0001/hidraw/hidraw3";
  EXPECT_EQ(tracker.OnHidraw("add", "/sys/x/hidraw1", "0003:00001D57:0000FA61"), std::nullopt);
  EXPECT_EQ(tracker.OnHidraw("add", mouse, "0005:0000045E:00000040"), LinkChange::kArrived);
  EXPECT_EQ(tracker.OnHidraw("remove", "/sys/x/hidraw1", ""), std::nullopt);
  EXPECT_EQ(tracker.OnHidraw("remove", mouse, ""), LinkChange::kRemoved);
  EXPECT_EQ(tracker.OnHidraw("remove", mouse, ""), std::nullopt);  // only once
}

TEST(BluetoothPresence, MonitorOpensWithoutBlockingOrFailingLoudly) {
  HidrawMonitor monitor;  // may be unavailable in a container; then it is simply not ok()
  if (monitor.ok())
    EXPECT_GE(monitor.fd(), 0);
  else
    EXPECT_EQ(monitor.fd(), -1);
}

}  // namespace
}  // namespace ms1

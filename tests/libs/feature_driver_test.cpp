// The real driver's parts that need no mouse: interface choice, event
// reports, presence of a device with several nodes, the threads' start and
// stop, and a clean "absent" through the entry points.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>

#include "driver_library.h"
#include "libs/abi/ms1_feature_driver.h"
#include "libs/featuredriver/device_presence.h"
#include "libs/featuredriver/event_reader.h"
#include "libs/featuredriver/event_report.h"
#include "libs/featuredriver/hid_interface.h"
#include "libs/featuredriver/udev_watch.h"
#include "model/protocol/link_ids.h"
#include "support/test_paths.h"
#include "test_window.h"

namespace ms1::hiddriver {
namespace {

constexpr uint16_t kVendor = 0x1D57;
constexpr uint16_t kWired = 0xFA61;
constexpr uint16_t kReceiver = 0xFA60;

TEST(ChooseVendorInterfaceTest, TakesTheVendorDefinedInterfaceOfTheRightDevice) {
  const std::vector<HidInterface> list = {
      {"/dev/hidraw0", kVendor, kWired, 0x0001, 0x02, 0},  // the pointer
      {"/dev/hidraw1", kVendor, kReceiver, 0xFF00, 1, 1},  // the other link
      {"/dev/hidraw2", kVendor, kWired, 0x000C, 0x01, 1},  // consumer keys
      {"/dev/hidraw3", kVendor, kWired, 0xFF02, 0x01, 2},
      {"/dev/hidraw4", kVendor, kWired, 0xFFFF, 0x01, 3},
  };
  EXPECT_EQ(ChooseVendorInterface(list, kVendor, kWired), "/dev/hidraw3");
  EXPECT_EQ(ChooseVendorInterface(list, kVendor, kReceiver), "/dev/hidraw1");
}

TEST(ChooseVendorInterfaceTest, AbsentWhenNothingMatches) {
  EXPECT_EQ(ChooseVendorInterface({}, kVendor, kWired), std::nullopt);
  const std::vector<HidInterface> standard_only = {
      {"/dev/hidraw0", kVendor, kWired, 0x0001, 0x02, 0},
      {"/dev/hidraw1", kVendor, kWired, 0xFEFF, 0x01, 1},  // just below the vendor range
      {"/dev/hidraw2", 0x1234, kWired, 0xFF00, 0x01, 0},   // another maker
      {"", kVendor, kWired, 0xFF00, 0x01, 2},              // no node to open
  };
  EXPECT_EQ(ChooseVendorInterface(standard_only, kVendor, kWired), std::nullopt);
}

TEST(EventReportTest, CodeAndValueAreLittleEndian) {
  const uint8_t status[] = {0x10, 0x40, 0x01, 0x07, 0xAA};
  EXPECT_EQ(ParseEventReport(status, sizeof status), (DeviceEvent{0x4010, 0x0701}));
  const uint8_t ack[] = {0x10, 0x50, 0x00, 0x00};
  EXPECT_EQ(ParseEventReport(ack, sizeof ack), (DeviceEvent{0x5010, 0}));
  EXPECT_EQ(ParseEventReport(ack, 3), std::nullopt);
  EXPECT_EQ(ParseEventReport(nullptr, 8), std::nullopt);
}

TEST(DevicePresenceTest, HidIdNamesBusVendorAndProduct) {
  EXPECT_EQ(ParseHidId("0003:00001D57:0000FA61"), (HidId{3, kVendor, kWired}));
  EXPECT_EQ(ParseHidId("0005:0000045E:00000040"), (HidId{5, 0x045E, 0x0040}));
  EXPECT_EQ(ParseHidId("0003:00001D57"), std::nullopt);
  EXPECT_EQ(ParseHidId("0003:00011D57:0000FA61"), std::nullopt);
  EXPECT_EQ(ParseHidId("0003:00001D57:0000FA61x"), std::nullopt);
  EXPECT_EQ(ParseHidId(nullptr), std::nullopt);
}

TEST(DevicePresenceTest, ArrivalWithTheFirstNodeRemovalWithTheLast) {
  PresenceTracker tracker;
  EXPECT_TRUE(tracker.NodeAdded("/sys/a/hidraw0"));
  EXPECT_FALSE(tracker.NodeAdded("/sys/a/hidraw1"));
  EXPECT_FALSE(tracker.NodeAdded("/sys/a/hidraw1"));    // repeated add
  EXPECT_FALSE(tracker.NodeRemoved("/sys/b/hidraw7"));  // not ours
  EXPECT_FALSE(tracker.NodeRemoved("/sys/a/hidraw0"));
  EXPECT_TRUE(tracker.Present());
  EXPECT_TRUE(tracker.NodeRemoved("/sys/a/hidraw1"));
  EXPECT_FALSE(tracker.Present());
  EXPECT_FALSE(tracker.NodeRemoved("/sys/a/hidraw1"));
  EXPECT_TRUE(tracker.NodeAdded("/sys/a/hidraw3"));  // plugged in again
}

// A packet socket delivers one report per read, as a hidraw node does.
class EventReaderTest : public ::testing::Test {
 protected:
  int fds[2] = {-1, -1};
  EventReader reader;
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<DeviceEvent> events;

  void SetUp() override { ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET, 0, fds), 0); }
  void TearDown() override {
    reader.Stop();
    if (fds[1] >= 0) ::close(fds[1]);
  }
  void StartReader() {
    ASSERT_TRUE(reader.StartOnDescriptor(fds[0], [this](DeviceEvent e) {
      std::lock_guard lock(mutex);
      events.push_back(e);
      changed.notify_all();
    }));
  }
  void Write(std::vector<uint8_t> report) {
    ASSERT_EQ(::write(fds[1], report.data(), report.size()), static_cast<ssize_t>(report.size()));
  }
  bool WaitForEvents(std::size_t count) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(60), [&] { return events.size() >= count; });
  }
};

TEST_F(EventReaderTest, TurnsReportsIntoEventsAndSkipsShortOnes) {
  StartReader();
  Write({0x00, 0x10, 0x03, 0x00});
  Write({0x01, 0x02});
  Write({0x00, 0x80, 0x02, 0x00, 0x00, 0x00});
  ASSERT_TRUE(WaitForEvents(2));
  std::lock_guard lock(mutex);
  EXPECT_EQ(events, (std::vector<DeviceEvent>{{0x1000, 3}, {0x8000, 2}}));
}

TEST_F(EventReaderTest, StopsOnRequestAndWhenTheDeviceGoes) {
  StartReader();
  EXPECT_TRUE(reader.Running());
  reader.Stop();  // returns: the thread was woken, not polled
  EXPECT_FALSE(reader.Running());

  ::close(fds[1]);
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET, 0, fds), 0);
  StartReader();
  ::close(fds[1]);
  fds[1] = -1;
  reader.Stop();  // the thread has ended or ends on its own; joining must not hang
  EXPECT_FALSE(reader.Running());
  EXPECT_FALSE(reader.Start("/nonexistent/hidraw99", [](DeviceEvent) {}));
}

TEST(UdevWatchTest, StartsAndStopsWithoutAnnouncingAnything) {
  UdevWatch watch;
  bool announced = false;
  const bool started = watch.Start(kVendor, kWired, [&](bool) { announced = true; });
  EXPECT_EQ(watch.Running(), started);
  watch.Stop();
  EXPECT_FALSE(watch.Running());
  EXPECT_FALSE(announced);
  EXPECT_EQ(watch.Start(kVendor, kReceiver, [](bool) {}), started);  // restartable
}

// The built library files with no mouse attached, as the program uses them.
TEST(FeatureDriverLibraryTest, NoMouseMeansAbsentAndNothingSent) {
  test::DriverLibrary wired(test::paths::FeatureDriversFolder() + "/hiddriver_2.so");
  test::DriverLibrary receiver(test::paths::FeatureDriversFolder() + "/hiddriver_1.so");
  ASSERT_TRUE(wired.Loaded()) << wired.Error();
  ASSERT_TRUE(receiver.Loaded()) << receiver.Error();
  EXPECT_NE(wired.Symbol("Open_FeatureDevice"), receiver.Symbol("Open_FeatureDevice"));
  test::TestWindow window;
  for (int round = 0; round < 3; ++round) {
    wired.set_vid_pid(link_ids::kVendor, link_ids::kWiredProduct);
    wired.open_monitor(window.Handle(), MS1_WIRED_EVENT_MESSAGE, MS1_WIRED_PLUG_MESSAGE);
    EXPECT_EQ(wired.open_device(), 0);
    receiver.set_vid_pid(link_ids::kVendor, link_ids::kReceiverProduct);
    receiver.open_monitor(window.Handle(), MS1_RECEIVER_EVENT_MESSAGE, MS1_RECEIVER_PLUG_MESSAGE);
    EXPECT_EQ(receiver.open_device(), 0);
    const uint8_t mode_select[] = {0x0C, 0x0A, 0x01, 0xFE, 0x02, 0xFD, 0, 0, 0, 0};
    EXPECT_EQ(wired.set_feature(mode_select, sizeof mode_select), 0);
    EXPECT_EQ(receiver.set_feature(nullptr, 10), 0);
    receiver.close_device();
    receiver.close_monitor();
    wired.close_device();
    wired.close_monitor();
  }
  EXPECT_TRUE(window.Messages().empty());
}

}  // namespace
}  // namespace ms1::hiddriver

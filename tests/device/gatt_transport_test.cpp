// The Bluetooth LE transport against the fake BlueZ on a private bus, with the
// virtual mouse behind it: which services and characteristics it picks, what
// it writes, its notifications and the mouse connecting and going away.
#include "device/bluetooth/gatt_transport.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

#include "../libs/sample_profiles.h"
#include "../libs/sim_instance.h"
#include "libs/virtualmouse/hex_text.h"
#include "model/macro_report.h"
#include "model/settings_reports.h"
#include "support/fake_bluez.h"
#include "support/scoped_env.h"

namespace ms1 {
namespace {

using Bytes = std::vector<uint8_t>;
const std::string kMouse = "/org/bluez/hci0/dev_C0_FF_EE_00_00_01";

// What the transport tells from its bus thread, waited for without sleeping.
class Inbox {
 public:
  void Notified(std::span<const uint8_t> value) {
    Add([&] { notifications_.emplace_back(value.begin(), value.end()); });
  }
  void Connection(bool connected) {
    Add([&] { connections_.push_back(connected); });
  }
  std::vector<Bytes> Notifications(std::size_t count) { return Await(notifications_, count); }
  std::vector<bool> Connections(std::size_t count) { return Await(connections_, count); }

 private:
  // Waits until `count` came (a minute at most: a safety net).
  template <typename T>
  std::vector<T> Await(const std::vector<T>& came, std::size_t count) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::minutes(1), [&] { return came.size() >= count; });
    return came;
  }
  template <typename Change>
  void Add(Change change) {
    std::lock_guard lock(mutex_);
    change();
    changed_.notify_all();
  }
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Bytes> notifications_;
  std::vector<bool> connections_;
};

std::vector<std::string> PathsOf(const test::FakeBluez::Calls& calls, const std::string& member) {
  std::vector<std::string> paths;
  for (const auto& [called, path] : calls) {
    if (called == member) paths.push_back(path);
  }
  return paths;
}

class GattTransportTest : public ::testing::Test {
 protected:
  // The virtual mouse with `plugged` links, the fake BlueZ in front of it,
  // and the transport started on that bus.
  void Start(const std::string& plugged, test::FakeBluez::Options options = {}) {
    sim.emplace(::testing::UnitTest::GetInstance()->current_test_info()->name(), plugged);
    ASSERT_TRUE(sim->Request("ping").value("ok", false));
    bluez.emplace(options);
    ASSERT_TRUE(bluez->ready());
    connected_at_start = transport.Start();
    bluez->TakeCalls();  // the start-up look is not what the cases are about
  }
  void Connect() {
    transport.Connect("VID&02045E", "PID&0040");
    transport.WaitForQueuedCalls();
  }
  int Write(const Bytes& report) {
    return transport.WriteReport(report.data(), static_cast<int>(report.size()));
  }
  bool Steer(const std::string& request) { return sim->Request(request).value("ok", false); }

  std::optional<test::SimInstance> sim;
  std::optional<test::FakeBluez> bluez;
  Inbox inbox;
  GattTransport transport{{[this](std::span<const uint8_t> v) { inbox.Notified(v); },
                           [this](bool connected) { inbox.Connection(connected); }}};
  bool connected_at_start = false;
  const Bytes mode_select = EncodeModeSelectReport(*CreateProfile(u"P"));
};

struct WriteCase {
  const char* name;
  const char* plugged;  // the virtual mouse's links: "ble" connects the mouse
  test::FakeBluez::Options bluez;
  int result;
  std::vector<std::string> written;  // WriteValue calls, in order
};

void PrintTo(const WriteCase& c, std::ostream* out) {
  *out << c.name;
}

const std::string kFirst = kMouse + "/service0010/char0011";
const std::string kSecond = kMouse + "/service0020/char0021";

// One transport per case: it starts once.
class GattWriteTest : public GattTransportTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(GattWriteTest, WritesGoToTheFirstMatchingServiceThatTakesThem) {
  const WriteCase& c = GetParam();
  Start(c.plugged, c.bluez);
  EXPECT_EQ(connected_at_start, std::string(c.plugged) == "ble");
  Connect();
  bluez->TakeCalls();
  EXPECT_EQ(Write(mode_select), c.result);
  EXPECT_EQ(PathsOf(bluez->TakeCalls(), "WriteValue"), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GattWriteTest,
    ::testing::Values(
        WriteCase{"OneService", "ble", {}, 1, {kFirst}},
        WriteCase{"TwoServicesTheFirstTakesIt", "ble", {.second_service = true}, 1, {kFirst}},
        WriteCase{"TheFirstFailsTheSecondTakesIt",
                  "ble",
                  {.second_service = true, .first_write_fails = true},
                  1,
                  {kFirst, kSecond}},
        WriteCase{"TheOnlyWriteFails", "ble", {.first_write_fails = true}, 0, {kFirst}},
        WriteCase{"ForeignDeviceNeverWritten", "ble", {.foreign = true}, 1, {kFirst}},
        WriteCase{"PairedButSwitchedOff", "", {.paired_mouse = true}, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GattTransportTest, WithoutFilterNothingIsAskedOfBluez) {
  Start("ble");
  EXPECT_EQ(Write(mode_select), 0);
  Connect();
  transport.Disconnect();
  bluez->TakeCalls();
  EXPECT_EQ(Write(mode_select), 0);
  EXPECT_TRUE(bluez->TakeCalls().empty());
}

TEST_F(GattTransportTest, SubscribesEveryMatchingServiceAndTakesWholeMacros) {
  Start("ble", {.second_service = true, .foreign = true});
  Connect();
  EXPECT_EQ(PathsOf(bluez->TakeCalls(), "StartNotify"),
            (std::vector<std::string>{kMouse + "/service0010/char0013",
                                      kMouse + "/service0020/char0023"}));

  std::mt19937 random(7);
  auto profile = CreateProfile(u"P");
  test::SetMacroButton(*profile, 0, random, 40);
  const Bytes macro = EncodeMacroReport(1, ButtonOf(ModeOf(*profile, profile->active_mode), 0));
  ASSERT_EQ(macro.size(), 131u);
  EXPECT_EQ(Write(macro), 1);
  const auto accepted = sim->Log()["accepted"];
  ASSERT_EQ(accepted.size(), 1u);
  EXPECT_EQ(accepted[0]["link"], "ble");
  EXPECT_EQ(accepted[0]["report"], vmouse::ToHex(macro));
}

TEST_F(GattTransportTest, ReconnectingSubscribesAgainWithoutDoublingNotifications) {
  Start("ble");
  Connect();
  ASSERT_TRUE(Steer("press dpi 3"));
  EXPECT_EQ(inbox.Notifications(1), (std::vector<Bytes>{{0x00, 0x10, 0x03, 0x00}}));

  ASSERT_TRUE(Steer("unplug ble"));
  EXPECT_EQ(inbox.Connections(1), (std::vector<bool>{false}));
  transport.Disconnect();
  ASSERT_TRUE(Steer("plug ble"));
  EXPECT_EQ(inbox.Connections(2), (std::vector<bool>{false, true}));
  bluez->TakeCalls();
  Connect();
  EXPECT_EQ(PathsOf(bluez->TakeCalls(), "StartNotify"),
            (std::vector<std::string>{kMouse + "/service0010/char0013"}));

  // A doubled subscription would bring the battery twice before the sleep.
  ASSERT_TRUE(Steer("battery 7"));
  ASSERT_TRUE(Steer("sleep"));
  const auto seen = inbox.Notifications(4);
  EXPECT_EQ(seen, (std::vector<Bytes>{{0x00, 0x10, 0x03, 0x00},
                                      {0x10, 0x40, 0x01, 0x07},
                                      {0x00, 0x60, 0x07, 0x00},
                                      {0x10, 0x40, 0x00, 0x07}}));
  EXPECT_EQ(Write(mode_select), 1);
}

// BlueZ stops answering during a write (the call would wait 5 s for it):
// neither the interface thread's connect and disconnect nor the stop wait.
TEST_F(GattTransportTest, NothingWaitsForAWriteBluezDoesNotAnswer) {
  Start("ble");
  Connect();
  ASSERT_TRUE(Steer("after 1 hang"));
  auto write = std::async(std::launch::async, [&] { return Write(mode_select); });
  // The simulator's log is a file: polled until the write hangs in the mouse.
  for (int i = 0; i < 6000 && sim->Log()["accepted"].empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_FALSE(sim->Log()["accepted"].empty()) << "the write never reached the mouse";
  const auto start = std::chrono::steady_clock::now();
  transport.Disconnect();
  transport.Connect("VID&02045E", "PID&0040");
  transport.Stop();
  EXPECT_EQ(write.get(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(GattTransportTest, NoBluezMeansNoMouseAndNoWrites) {
  for (const char* address :
       std::initializer_list<const char*>{"unix:path=/nonexistent/ms1-no-bus", nullptr}) {
    SCOPED_TRACE(address ? address : "a bus without BlueZ");
    std::optional<test::FakeBluez> bus_only;
    test::ScopedEnv env;
    if (address != nullptr) {
      env.Set("DBUS_SYSTEM_BUS_ADDRESS", address);
    } else {
      bus_only.emplace(test::FakeBluez::Options{.bluez = false});
    }
    GattTransport alone({[this](std::span<const uint8_t> v) { inbox.Notified(v); },
                         [this](bool c) { inbox.Connection(c); }});
    EXPECT_FALSE(alone.Start());
    alone.Connect("VID&02045E", "PID&0040");
    EXPECT_EQ(alone.WriteReport(mode_select.data(), static_cast<int>(mode_select.size())), 0);
  }
}

}  // namespace
}  // namespace ms1

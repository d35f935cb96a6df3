// ms1ctl apply and monitor, run as a user runs them, over stand-in driver
// libraries that accept everything.
#include <gtest/gtest.h>

#include <csignal>
#include <nlohmann/json.hpp>
#include <optional>

#include "../libs/sim_instance.h"
#include "support/fake_bluez.h"
#include "support/process.h"
#include "support/run.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

const std::string kFakeDrivers = test::paths::FakeDriversFolder() + "/complete";

class DeviceCommandsTest : public test::TempDirTest {
 protected:
  std::string profile = (dir / "p.pro").string();
  void SetUp() override { ASSERT_EQ(Ctl({"new-profile", "P", "-o", profile}).exit_code, 0); }
  static test::RunResult Ctl(std::vector<std::string> args) {
    args.insert(args.begin(), test::paths::Ms1ctlFile());
    return test::Run(args);
  }
  // `apply` printed each report the profile makes, in order, as taken over
  // the cable; returns those reports.
  std::vector<std::string> ExpectEachReportTakenOverTheCable(const test::RunResult& apply) {
    EXPECT_EQ(apply.exit_code, 0) << apply.err;
    const auto reports = test::Lines(Ctl({"reports", profile}).out);
    std::vector<std::string> printed;
    for (const std::string& report : reports) printed.push_back("wired 1 " + report);
    EXPECT_EQ(test::Lines(apply.out), printed);
    return reports;
  }
};

TEST_F(DeviceCommandsTest, ApplyPrintsEachReportWithItsLinkAndResult) {
  ExpectEachReportTakenOverTheCable(Ctl({"apply", profile, "--drivers", kFakeDrivers}));
}

TEST_F(DeviceCommandsTest, ApplyWithoutDriversOrWithABadFileFails) {
  const auto none = Ctl({"apply", profile, "--drivers", dir.string()});
  EXPECT_NE(none.exit_code, 0);
  EXPECT_NE(none.err.find("no driver library"), std::string::npos);
  EXPECT_TRUE(none.out.empty());

  const auto bad = Ctl({"apply", (dir / "missing.pro").string(), "--drivers", kFakeDrivers});
  EXPECT_NE(bad.exit_code, 0);
  EXPECT_NE(bad.err.find("missing.pro"), std::string::npos);
}

TEST_F(DeviceCommandsTest, MonitorPrintsMessagesUntilInterrupted) {
  for (int signal_number : {SIGINT, SIGTERM}) {
    test::RunningProgram monitor({test::paths::Ms1ctlFile(), "monitor", "--drivers", kFakeDrivers});
    std::vector<std::string> lines;
    for (int i = 0; i < 4; ++i) lines.push_back(monitor.NextLine());
    std::sort(lines.begin(), lines.end());  // the libraries post from their own threads
    EXPECT_EQ(lines, (std::vector<std::string>{"receiver absent", "receiver plug arrived",
                                               "wired plug arrived", "wired present"}));
    EXPECT_EQ(monitor.Signal(signal_number), 0);
  }
}

// The same commands over the virtual mouse, with real pauses.
class VirtualMouseCommandsTest : public DeviceCommandsTest {
 protected:
  test::SimInstance sim{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  bool Steer(const std::string& request) { return sim.Request(request).value("ok", false); }
  test::RunResult Apply(std::vector<std::string> more = {}) {
    more.insert(more.begin(), {"apply", profile, "--drivers", test::paths::VirtualDriversFolder()});
    return Ctl(more);
  }
  std::vector<std::string> Accepted(const std::string& link) {
    std::vector<std::string> out;
    const nlohmann::json log = sim.Log();
    for (const auto& entry : log["accepted"]) {
      EXPECT_EQ(entry["link"], link);
      out.push_back(entry["report"]);
    }
    return out;
  }
  // ms1ctl monitor on the virtual mouse, with more arguments.
  static std::vector<std::string> Monitor(std::vector<std::string> more = {}) {
    more.insert(more.begin(), {test::paths::Ms1ctlFile(), "monitor", "--drivers",
                               test::paths::VirtualDriversFolder()});
    return more;
  }
  // For each step, its request to the mouse (if any), then the monitor's next line.
  void ExpectLines(test::RunningProgram& monitor,
                   const std::vector<std::pair<std::string, std::string>>& steps) {
    for (const auto& [request, line] : steps) {
      SCOPED_TRACE(line);
      if (!request.empty()) ASSERT_TRUE(Steer(request));
      EXPECT_EQ(monitor.NextLine(), line);
    }
  }
  static std::string Compact(std::string hex) {
    std::erase(hex, ' ');
    for (char& c : hex) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return hex;
  }
};

TEST_F(VirtualMouseCommandsTest, ApplyOverTheCable) {
  ASSERT_TRUE(Steer("plug wired"));
  std::vector<std::string> taken;
  for (const std::string& report : ExpectEachReportTakenOverTheCable(Apply())) {
    taken.push_back(Compact(report));
  }
  EXPECT_EQ(Accepted("wired"), taken);
}

TEST_F(VirtualMouseCommandsTest, ApplyOverTheReceiverOnceTheMouseReportsItself) {
  ::setenv("MS1_VMOUSE_HEARTBEAT_MS", "200", 1);  // the simulator starts with the next request
  ASSERT_TRUE(Steer("plug receiver"));
  const auto r = Apply();
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto lines = test::Lines(r.out);
  ASSERT_EQ(lines.size(), 12u);
  for (const auto& line : lines) EXPECT_EQ(line.rfind("receiver 1 ", 0), 0u) << line;
  EXPECT_EQ(Accepted("receiver").size(), 12u);  // each acknowledged at the first attempt
}

TEST_F(VirtualMouseCommandsTest, ApplyWithTheMouseUnpluggedFails) {
  const auto r = Apply();
  EXPECT_NE(r.exit_code, 0);
  EXPECT_NE(r.err.find("not connected"), std::string::npos);
  EXPECT_TRUE(r.out.empty());
}

TEST_F(VirtualMouseCommandsTest, MonitorShowsPlugsAndEvents) {
  test::RunningProgram monitor(Monitor());
  ExpectLines(monitor, {{"", "wired absent"},
                        {"", "receiver absent"},
                        {"plug wired", "wired plug arrived"},
                        {"press dpi 3", "wired dpi level 3"},
                        {"unplug wired", "wired plug removed"}});
  EXPECT_EQ(monitor.Signal(SIGINT), 0);
}

TEST_F(VirtualMouseCommandsTest, MonitorJsonLinesDecodeStatusAndAcknowledgements) {
  test::RunningProgram monitor(Monitor({"--json"}));
  EXPECT_EQ(nlohmann::json::parse(monitor.NextLine())["kind"], "presence");
  EXPECT_EQ(nlohmann::json::parse(monitor.NextLine())["plugged"], false);
  ASSERT_TRUE(Steer("plug receiver"));
  const auto plug = nlohmann::json::parse(monitor.NextLine());
  EXPECT_EQ(plug["link"], "receiver");
  EXPECT_EQ(plug["plugged"], true);
  ASSERT_TRUE(Steer("battery 7"));
  const auto status = nlohmann::json::parse(monitor.NextLine());
  EXPECT_EQ(status["code"], 0x4010);
  EXPECT_EQ(status["text"], "battery 70% awake");
  EXPECT_EQ(monitor.Signal(SIGTERM), 0);
}

// Over Bluetooth LE alone: the virtual mouse behind the fake BlueZ.
class BluetoothCommandsTest : public VirtualMouseCommandsTest {
 protected:
  void SetUp() override {
    VirtualMouseCommandsTest::SetUp();
    ASSERT_TRUE(Steer("plug ble"));
    bluez.emplace();
    ASSERT_TRUE(bluez->ready());
  }
  void TearDown() override {
    bluez.reset();
    VirtualMouseCommandsTest::TearDown();
  }
  std::optional<test::FakeBluez> bluez;
};

TEST_F(BluetoothCommandsTest, ApplyOverBluetoothLeavesOutThePollingRate) {
  const auto r = Apply({"--link", "ble"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto lines = test::Lines(r.out);
  ASSERT_EQ(lines.size(), 12u);
  int skipped = 0;
  for (const auto& line : lines) {
    if (line.rfind("bluetooth skip 06 ", 0) == 0) {
      ++skipped;
    } else {
      EXPECT_EQ(line.rfind("bluetooth 1 ", 0), 0u) << line;
    }
  }
  EXPECT_EQ(skipped, 4) << "two polling-rate reports per mode record";
  EXPECT_EQ(Accepted("ble").size(), 8u);
  EXPECT_TRUE(sim.State()["polling_rate"].is_null());

  // The cable alone is not there: that link chosen, nothing goes anywhere.
  const auto wired = Apply({"--link", "wired"});
  EXPECT_NE(wired.exit_code, 0);
  EXPECT_NE(wired.err.find("not connected"), std::string::npos);
}

TEST_F(BluetoothCommandsTest, MonitorShowsTheBluetoothLinkAndItsEvents) {
  test::RunningProgram monitor(Monitor({"--link", "ble"}));
  ExpectLines(monitor, {{"", "ble present"},
                        {"press dpi 3", "ble dpi level 3"},
                        {"unplug ble", "ble plug removed"},
                        {"plug ble", "ble plug arrived"},
                        {"battery 7", "ble battery 70% awake"}});
  EXPECT_EQ(monitor.Signal(SIGINT), 0);
}

}  // namespace
}  // namespace ms1

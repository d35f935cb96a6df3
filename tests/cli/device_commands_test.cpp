// ms1ctl apply and monitor, run as a user runs them, over stand-in driver
// libraries that accept everything.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "support/process.h"
#include "support/run.h"

namespace ms1 {
namespace {

namespace fs = std::filesystem;

const std::string kFakeDrivers = FAKE_DRIVERS_DIR "/complete";

class DeviceCommandsTest : public ::testing::Test {
 protected:
  fs::path dir = fs::temp_directory_path() /
                 ("ms1ctl-device-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::string profile = (dir / "p.pro").string();
  void SetUp() override {
    fs::create_directories(dir);
    ASSERT_EQ(test::Run({MS1CTL_PATH, "new-profile", "P", "-o", profile}).exit_code, 0);
  }
  void TearDown() override { fs::remove_all(dir); }
};

TEST_F(DeviceCommandsTest, ApplyPrintsEachReportWithItsLinkAndResult) {
  const auto reports = test::Run({MS1CTL_PATH, "reports", profile});
  const auto r = test::Run({MS1CTL_PATH, "apply", profile, "--drivers", kFakeDrivers});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto expected = test::Lines(reports.out);
  const auto lines = test::Lines(r.out);
  ASSERT_EQ(lines.size(), expected.size());
  for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], "wired 1 " + expected[i]);
}

TEST_F(DeviceCommandsTest, ApplyWithoutDriversOrWithABadFileFails) {
  const auto none = test::Run({MS1CTL_PATH, "apply", profile, "--drivers", dir.string()});
  EXPECT_NE(none.exit_code, 0);
  EXPECT_NE(none.err.find("no driver library"), std::string::npos);
  EXPECT_TRUE(none.out.empty());

  const auto bad = test::Run(
      {MS1CTL_PATH, "apply", (dir / "missing.pro").string(), "--drivers", kFakeDrivers});
  EXPECT_NE(bad.exit_code, 0);
  EXPECT_NE(bad.err.find("missing.pro"), std::string::npos);
}

TEST_F(DeviceCommandsTest, MonitorPrintsMessagesUntilInterrupted) {
  for (int signal_number : {SIGINT, SIGTERM}) {
    test::RunningProgram monitor({MS1CTL_PATH, "monitor", "--drivers", kFakeDrivers});
    std::vector<std::string> lines;
    for (int i = 0; i < 4; ++i) lines.push_back(monitor.NextLine());
    std::sort(lines.begin(), lines.end());  // the libraries post from their own threads
    EXPECT_EQ(lines, (std::vector<std::string>{"receiver absent", "receiver plug arrived",
                                               "wired plug arrived", "wired present"}));
    EXPECT_EQ(monitor.Signal(signal_number), 0);
  }
}

}  // namespace
}  // namespace ms1

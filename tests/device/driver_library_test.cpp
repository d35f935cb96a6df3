#include "device/driver/driver_library.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "../libs/test_window.h"
#include "device/device_session.h"
#include "device/driver/feature_drivers.h"
#include "device/messages.h"
#include "fakes.h"
#include "link_fakes.h"
#include "signal.h"
#include "support/fake_hook.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

using test::FakeStore;
using test::RecordingHost;
using test::RecordingPacer;
using test::TakeDriverLog;

class DriverLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { TakeDriverLog(); }
  const std::string complete = test::paths::FakeDriversFolder() + "/complete/";
  const std::string partial = test::paths::FakeDriversFolder() + "/partial";
  const std::string not_allowed = test::paths::FakeDriversFolder() + "/notallowed/";
};

TEST_F(DriverLibraryTest, OpensBothLinksInOrderWithTheirIdsAndMessages) {
  FeatureDrivers drivers;
  drivers.Load(complete);
  ASSERT_NE(drivers.wired(), nullptr);
  ASSERT_NE(drivers.receiver(), nullptr);
  test::TestWindow window;
  EXPECT_TRUE(drivers.OpenWired(window.Handle()));
  EXPECT_FALSE(drivers.OpenReceiver(window.Handle()));  // the fake receiver finds nothing
  EXPECT_EQ(TakeDriverLog(), (std::vector<std::string>{
                                 "hiddriver_2 Set_VIDPID 1D57 FA61",
                                 "hiddriver_2 Open_DevMonitor 1327 1328",
                                 "hiddriver_2 Open_FeatureDevice",
                                 "hiddriver_1 Set_VIDPID 1D57 FA60",
                                 "hiddriver_1 Open_DevMonitor 1325 1326",
                                 "hiddriver_1 Open_FeatureDevice",
                             }));
  // The handle given to the library reaches the program.
  EXPECT_EQ(window.Messages(), (std::vector<test::PostedMessage>{{1328, 1, 0}, {1326, 1, 0}}));

  const uint8_t report[10] = {0x0C, 10};
  EXPECT_EQ(drivers.wired()->SetFeature(report, 10), 1);
  EXPECT_EQ(TakeDriverLog(), (std::vector<std::string>{"hiddriver_2 SetFeature 0C 10"}));
}

// The session as the program and ms1ctl run it: started in order, it sends
// over the link it found; stopped in the middle of an apply, it closes both
// drivers, lets the apply end without sending more, then unloads them.
TEST_F(DriverLibraryTest, SessionStartsSendsAndShutsDownInTheProgramsOrder) {
  test::RecordingLinkView view;
  test::FakeLinkHost host;
  RecordingHost apply_host;
  FakeStore store;
  RecordingPacer pacer;
  test::Signal in_apply, release;
  pacer.on_pause = [&](std::size_t index) {
    if (index != 0) return;
    in_apply.Raise();
    ASSERT_TRUE(release.Wait());
  };
  test::TestWindow window;
  DeviceSession session({view, host, apply_host, store}, &pacer);
  session.Start(complete, window.Handle(), [] { return false; });
  EXPECT_EQ(session.links().wiredState, link_presence::kPresent);
  EXPECT_EQ(host.CountPosts(msg::kDevicePresence), 1);
  test::LoadProfiles(session.model(), {u"P"});
  TakeDriverLog();

  session.RequestApply();
  ASSERT_TRUE(in_apply.Wait());
  std::thread closing([&] { session.Stop(); });
  // The drivers are closed while the apply is held at its first pause.
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (test::DriverLogSize() < 5 && std::chrono::steady_clock::now() < limit)
    std::this_thread::yield();
  release.Raise();
  closing.join();

  EXPECT_EQ(
      TakeDriverLog(),
      (std::vector<std::string>{"hiddriver_2 SetFeature 0C 10",  // the first report, then the pause
                                "hiddriver_1 Close_FeatureDevice", "hiddriver_1 Close_DevMonitor",
                                "hiddriver_2 Close_FeatureDevice", "hiddriver_2 Close_DevMonitor",
                                "hiddriver_2 unloaded", "hiddriver_1 unloaded"}));
  EXPECT_EQ(session.drivers().wired(), nullptr);
  EXPECT_EQ(store.saves, 1);  // the apply ran to its end
  EXPECT_TRUE(session.model().HasUnsentEdits()) << "the rest was never sent";
}

// Only a library that says so makes a failed open a permission problem.
TEST_F(DriverLibraryTest, AFailedOpenIsAPermissionProblemOnlyWhenTheLibrarySaysSo) {
  test::TestWindow window;
  for (const auto& [folder, expected] :
       {std::pair{complete, false}, std::pair{not_allowed, true}}) {
    FeatureDrivers drivers;
    drivers.Load(folder);
    EXPECT_FALSE(drivers.OpenReceiver(window.Handle()));
    EXPECT_EQ(drivers.OpenNotAllowed(), expected) << folder;
    drivers.CloseAll();
  }
}

TEST_F(DriverLibraryTest, MissingFileOrEntryPointLeavesTheLinkAbsentAndUntouched) {
  FeatureDrivers drivers;
  drivers.Load(partial);  // wired lacks GetFeature, receiver file missing
  EXPECT_EQ(drivers.wired(), nullptr);
  EXPECT_EQ(drivers.receiver(), nullptr);
  test::TestWindow window;
  EXPECT_FALSE(drivers.OpenWired(window.Handle()));
  EXPECT_FALSE(drivers.OpenReceiver(window.Handle()));
  drivers.CloseAll();
  drivers.Unload();
  // Loading and unloading ran its destructor only; no entry point was called.
  EXPECT_EQ(TakeDriverLog(), (std::vector<std::string>{"hiddriver_2 unloaded"}));
  EXPECT_TRUE(window.Messages().empty());

  EXPECT_EQ(DriverLibrary::Load("/nonexistent/folder", "hiddriver_2.so"), nullptr);
  EXPECT_EQ(DriverLibrary::Load(complete, "../partial/hiddriver_1.so"), nullptr);
}

}  // namespace
}  // namespace ms1

// What one report costs through a virtual driver library: the SetFeature
// round trip to the simulator, and on the receiver until the acknowledgement
// has been posted to the window. The apply benchmark adds fixed pauses of
// 200 ms and more per report on top of this.
#include <benchmark/benchmark.h>

#include <cstring>

#include "libs/abi/ms1_feature_driver.h"
#include "libs/driver_library.h"
#include "libs/sim_instance.h"
#include "libs/test_window.h"
#include "model/profile.h"
#include "model/protocol/link_ids.h"
#include "model/settings_reports.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

struct Setup {
  test::SimInstance sim{"bench", "wired,receiver"};
  test::DriverLibrary wired{test::paths::VirtualDriversFolder() + "/hiddriver_2.so"};
  test::DriverLibrary receiver{test::paths::VirtualDriversFolder() + "/hiddriver_1.so"};
  test::TestWindow window;

  Setup() {
    wired.set_vid_pid(link_ids::kVendor, link_ids::kWiredProduct);
    wired.open_monitor(window.Handle(), MS1_WIRED_EVENT_MESSAGE, MS1_WIRED_PLUG_MESSAGE);
    wired.open_device();
    receiver.set_vid_pid(link_ids::kVendor, link_ids::kReceiverProduct);
    receiver.open_monitor(window.Handle(), MS1_RECEIVER_EVENT_MESSAGE, MS1_RECEIVER_PLUG_MESSAGE);
    receiver.open_device();
  }
  ~Setup() {
    receiver.close_device();
    receiver.close_monitor();
    wired.close_device();
    wired.close_monitor();
  }
};

void BM_WiredSetFeature(benchmark::State& state) {
  Setup setup;
  const Report report = EncodeSettingsReport(*CreateProfile(u"P"), 0);
  for (auto _ : state) {
    if (setup.wired.Send(report) != 1) state.SkipWithError("report refused");
  }
  setup.sim.Request("clear-log");
}
BENCHMARK(BM_WiredSetFeature)->Unit(benchmark::kMicrosecond);

void BM_ReceiverSendUntilAcknowledged(benchmark::State& state) {
  Setup setup;
  const Report report = EncodeSettingsReport(*CreateProfile(u"P"), 1);
  std::size_t acks = 0;
  for (auto _ : state) {
    if (setup.receiver.Send(report) != 1) state.SkipWithError("report refused");
    setup.window.WaitForCount(++acks);
    if (acks % 1000 == 0) {
      setup.window.Clear();
      acks = 0;
    }
  }
  setup.sim.Request("clear-log");
}
BENCHMARK(BM_ReceiverSendUntilAcknowledged)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ms1

BENCHMARK_MAIN();

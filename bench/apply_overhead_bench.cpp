// How much an apply costs beyond the pauses the mouse needs: a forced full
// apply of a profile with four macros over the wired link, with real pauses,
// through the virtual mouse of the build (its own simulator instance, cable
// plugged). MS1_BENCH_DRIVERS names another driver folder, such as the real
// driver with a mouse attached. Counter "overhead" = wall time / sum of pauses.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "device/apply_engine.h"
#include "device/driver/feature_drivers.h"
#include "device/report_transport.h"
#include "libs/virtualmouse/sim_connection.h"
#include "model/profile.h"
#include "support/test_paths.h"

namespace ms1 {
namespace {

// Sleeps for real and adds up what was asked for.
class MeasuredPacer final : public Pacer {
 public:
  void Pause(std::chrono::milliseconds duration) override {
    requested += duration;
    real_.Pause(duration);
  }
  std::chrono::steady_clock::time_point Now() const override { return real_.Now(); }
  std::chrono::milliseconds requested{0};

 private:
  RealPacer real_;
};

// Counts refusals: a refused report skips its pause and would flatter the figure.
class CountingSink final : public FeatureSink {
 public:
  explicit CountingSink(FeatureSink& inner) : inner_(inner) {}
  int32_t SetFeature(const uint8_t* report, int32_t length) override {
    const int32_t result = inner_.SetFeature(report, length);
    if (result == 0) ++failures;
    return result;
  }
  int failures = 0;

 private:
  FeatureSink& inner_;
};

class SilentHost final : public ApplyHost {
 public:
  void StopHeartbeat() override {}
  void StartHeartbeat(std::chrono::milliseconds) override {}
  void ShowApplyProgress(bool) override {}
  void ShowUnsentEdits(bool) override {}
};

class DiscardingStore final : public ProfileStoreWriter {
 public:
  bool Save(const ProfileList&, int) override { return true; }
};

void IgnorePost(void*, uint32_t, uintptr_t, intptr_t) {}

// A simulator instance of the benchmark's own, stopped at the end.
class SimulatorInstance {
 public:
  SimulatorInstance() {
    dir_ = std::filesystem::temp_directory_path() / ("ms1-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    ::setenv("MS1_VMOUSE_DIR", dir_.c_str(), 1);
    ::setenv("MS1_VMOUSE_PLUGGED", "wired", 1);
    ::setenv("MS1_VMOUSE_HEARTBEAT_MS", "0", 1);
  }
  ~SimulatorInstance() {
    if (auto control = vmouse::ConnectToSimulator(dir_.string())) {
      control->Request("stop");
      std::string ignored;
      while (control->ReadLine(ignored, 10000)) {
      }
    }
    std::error_code ignored;  // a destructor must not throw
    std::filesystem::remove_all(dir_, ignored);
  }

 private:
  std::filesystem::path dir_;
};

std::unique_ptr<ProfileRecord> ProfileWithFourMacros() {
  auto profile = CreateProfile(u"Bench");
  for (int button : {2, 5, 7, 12}) {
    ButtonRecord b = ButtonOf(ModeOf(*profile, 0), button);
    b.function_code = kFunctionMacro;
    b.macro_loop_count = 1;
    b.macro_action_count = 4;
    for (int i = 0; i < 4; ++i) {
      b.macro_actions[i] = {static_cast<uint8_t>(0x04 + i / 2),
                            static_cast<uint8_t>(i % 2 == 0 ? kActionPress : kActionRelease), 20};
    }
    StoreButtonAssignment(*profile, button, b);
  }
  return profile;
}

void BM_FullApplyOverWiredLink(benchmark::State& state) {
  const char* folder = std::getenv("MS1_BENCH_DRIVERS");
  SimulatorInstance simulator;
  FeatureDrivers drivers;
  drivers.Load(folder != nullptr ? std::string(folder) : test::paths::VirtualDriversFolder() + "/");
  LinkState links;
  links.mouseAsleep = 0;
  if (!drivers.OpenWired({nullptr, &IgnorePost})) {
    state.SkipWithError("no wired mouse behind the driver libraries");
    return;
  }
  links.wiredState = link_presence::kPresent;
  MeasuredPacer pacer;
  ReportTransport transport(links, pacer);
  CountingSink wired(*drivers.wired());
  transport.SetWired(&wired);
  PageModel model;
  model.With([](PageState& s) { s.profiles.push_back(ProfileWithFourMacros()); });
  SilentHost host;
  DiscardingStore store;
  ApplyEngine engine(model, links, transport, host, store);

  std::chrono::nanoseconds wall{0};
  for (auto _ : state) {
    model.With([](PageState& s) { s.force_full_apply = true; });
    const auto start = std::chrono::steady_clock::now();
    engine.ApplyConfiguration();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    wall += elapsed;
    state.SetIterationTime(std::chrono::duration<double>(elapsed).count());
  }
  drivers.CloseAll();
  if (wired.failures != 0) state.SkipWithError("the mouse refused reports");
  const double paused = std::chrono::duration<double>(pacer.requested).count();
  state.counters["overhead"] =
      paused > 0 ? std::chrono::duration<double>(wall).count() / paused : 0;
  state.counters["pause_s"] = paused / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FullApplyOverWiredLink)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ms1

BENCHMARK_MAIN();

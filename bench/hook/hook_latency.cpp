// How fast Hook.so reports a key, and what it costs while nothing happens.
// On a private Xvfb, keys are injected through XTEST and timed from the
// request to the posted message:
// - typing into an application: a window has the focus and takes the keys
//   (how a desktop is used), the injector does not wait;
// - injector that waits for the server after each event, as xdotool does,
//   with no window taking the keys;
// then the capture thread's wake-ups over 10 s of idle with the hook enabled
// (target: 0), and what the nudge of an idle server is good for: capture with
// and without it, for a release that follows a press without a round trip.
// Usage: hook_latency [program folder holding Hook.so]
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "key_injector.h"
#include "libs/abi/ms1_window_handle.h"
#include "libs/inputhook/capture.h"
#include "support/hook_library.h"
#include "support/scoped_env.h"
#include "support/test_paths.h"
#include "support/x_session.h"
#include "thread_wakeups.h"
#include "timed_window.h"

namespace ms1::bench {
namespace {

constexpr uint8_t kKeyA = 38;
constexpr int kKeys = 1000;
constexpr int kNudgeKeys = 100;
constexpr auto kLate = std::chrono::milliseconds(250);
constexpr auto kIdle = std::chrono::seconds(10);

struct InjectStyle {
  bool wait_after_press;
  bool wait_after_release;
  // The release follows the press at once instead of after its message.
  bool release_at_once = false;
};

struct Latencies {
  std::vector<double> ms;
  int late = 0;  // not posted within kLate
};

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(fraction * values.size()));
  return values[std::max<std::size_t>(rank, 1) - 1];
}

double MsSince(Clock::time_point start, Clock::time_point end) {
  return std::chrono::duration<double, std::milli>(end - start).count();
}

// Waits for message `index`, sent at `sent`. A late one is fetched by a round
// trip of the injector (the server then writes what it holds), so the next
// event is timed alone.
void Time(KeyInjector& injector, TimedWindow& window, std::size_t index, Clock::time_point sent,
          Latencies& out) {
  if (const auto posted = window.WaitForMessage(index, kLate)) {
    out.ms.push_back(MsSince(sent, *posted));
  } else {
    ++out.late;
    injector.RoundTrip();
    window.WaitForMessage(index, std::chrono::seconds(60));
  }
}

void TimeOne(KeyInjector& injector, TimedWindow& window, bool pressed, bool wait,
             Latencies& out) {
  const std::size_t index = window.Count();
  const Clock::time_point sent = Clock::now();
  injector.Key(kKeyA, pressed, wait);
  Time(injector, window, index, sent, out);
}

// Only the release is timed: it follows the press without waiting for it.
void TimeRelease(KeyInjector& injector, TimedWindow& window, InjectStyle style, Latencies& out) {
  const std::size_t index = window.Count();
  injector.Key(kKeyA, true, style.wait_after_press);
  const Clock::time_point sent = Clock::now();
  injector.Key(kKeyA, false, style.wait_after_release);
  window.WaitForMessage(index, std::chrono::seconds(60));
  Time(injector, window, index + 1, sent, out);
}

Latencies TimeKeys(KeyInjector& injector, TimedWindow& window, int keys, InjectStyle style) {
  Latencies latencies;
  for (int i = 0; i < keys; ++i) {
    if (style.release_at_once) {
      TimeRelease(injector, window, style, latencies);
    } else {
      TimeOne(injector, window, true, style.wait_after_press, latencies);
      TimeOne(injector, window, false, style.wait_after_release, latencies);
    }
    injector.DropEvents();
  }
  return latencies;
}

void Print(const char* what, const Latencies& l) {
  std::printf("%-66s events %4zu  median %7.3f ms  p99 %7.3f ms  late (>%lld ms) %d\n", what,
              l.ms.size() + l.late, Percentile(l.ms, 0.5), Percentile(l.ms, 0.99),
              static_cast<long long>(kLate.count()), l.late);
}

}  // namespace
}  // namespace ms1::bench

int main(int argc, char** argv) {
  using namespace ms1::bench;
  const std::string folder =
      argc > 1 ? std::string(argv[1]) + "/" : ms1::test::paths::ProgramFolder() + "/";
  ms1::test::XSession x;
  if (!x.Start()) {
    std::fprintf(stderr, "Xvfb did not start\n");
    return 1;
  }
  ms1::test::ScopedEnv env;
  env.Set("DISPLAY", x.Display());
  ms1::test::HookLibrary hook(folder);
  if (!hook.Loaded()) {
    std::fprintf(stderr, "no Hook.so in %s\n", folder.c_str());
    return 1;
  }

  TimedWindow window;
  hook.Start(window.Handle(), false);
  const std::vector<pid_t> capture_threads = ms1::test::ThreadsNamed(ms1::test::kHookThreadName);
  if (capture_threads.size() != 1) {
    std::fprintf(stderr, "Hook.so runs no capture here\n");
    return 1;
  }
  const pid_t capture_thread = capture_threads.front();

  {
    KeyInjector waiting(x.Display());
    Print("Hook.so, injector waits after each event (xdotool)",
          TimeKeys(waiting, window, kKeys, {true, true}));
  }
  {
    KeyInjector typing(x.Display());
    typing.FocusOwnWindow();
    const long switches_before = ContextSwitches(capture_thread);
    const Latencies latencies = TimeKeys(typing, window, kKeys, {false, false});
    Print("Hook.so, typing into a focused window", latencies);
    std::printf("capture thread wake-ups per key event: %.2f\n",
                double(ContextSwitches(capture_thread) - switches_before) / (2 * kKeys));
  }

  std::this_thread::sleep_for(std::chrono::seconds(1));  // the last nudge's answer comes
  const long idle_before = ContextSwitches(capture_thread);
  std::this_thread::sleep_for(kIdle);
  std::printf("capture thread wake-ups over %lld s idle, hook enabled: %ld\n",
              static_cast<long long>(kIdle.count()), ContextSwitches(capture_thread) - idle_before);
  hook.Stop();

  // Capture alone (not Hook.so), so that the nudge can be left out.
  for (const bool nudge : {true, false}) {
    for (const bool at_once : {false, true}) {
      TimedWindow direct;
      const Ms1WindowHandle handle = direct.Handle();
      auto capture = ms1::inputhook::Capture::Start(
          [&](const ms1::inputhook::HookEvent& e) {
            handle.post(handle.context, 0, e.w_param, e.l_param);
          },
          {nudge});
      KeyInjector injector(x.Display());
      const std::string what = std::string(nudge ? "with" : "without") +
                               " nudge, round trip after the press only" +
                               (at_once ? ", release at once" : "");
      Print(what.c_str(), TimeKeys(injector, direct, kNudgeKeys, {true, false, at_once}));
    }
  }
  return 0;
}

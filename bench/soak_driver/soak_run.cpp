#include "bench/soak_driver/soak_run.h"

#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QWidget>
#include <cstdarg>
#include <cstring>

#include "bench/soak_driver/mouse_match.h"
#include "device/messages.h"
#include "platform/notification_pump.h"
#include "platform/pause_while_unseen.h"
#include "support/qt_wait.h"

namespace ms1::soak {

namespace {

constexpr int kStartTimeoutMs = 30000;
constexpr int kApplyTimeoutMs = 120000;
constexpr int kApplyAttempts = 5;
// After the page has settled, an apply already under way may still be writing.
constexpr int kMouseCatchUpMs = 15000;
// The pace of the random use: the event loop runs this long after each action.
constexpr int kLongestPauseMs = 600;

}  // namespace

SoakRun::SoakRun(CMainWnd& window, CMS_1_Page& page, const SoakOptions& options,
                 std::FILE* report)
    : page_(window, page),
      mouse_(page_, options.bluetooth),
      options_(options),
      report_(report),
      random_(options.seed),
      context_{page_, mouse_, random_, {}},
      answers_([this](int n) { return context_.Draw(n); }) {
  actions_ = PageActions();
  for (SoakAction& action : MouseActions()) actions_.push_back(std::move(action));
  for (const SoakAction& action : actions_) total_weight_ += action.weight;
}

void SoakRun::Say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(report_, format, args);
  va_end(args);
  std::fputc('\n', report_);
  std::fflush(report_);
}

void SoakRun::IdleUntilTold(const char* phase) {
  // What keeps the window busy while idle: the charging ring's animation,
  // which counts only while the ring can be seen.
  QWidget* ring = page_.Control(QStringLiteral("ms_1_progress_power"));
  NotificationPump& timers = *page_.window().ControlTimers();
  const char* animation = "none";
  if (ring != nullptr && timers.IsTimerActive(ring, timer::kChargeAnimation)) {
    animation = timers.IsTimerRunning(ring, timer::kChargeAnimation) ? "counting" : "resting";
  }
  Say("idle %s (window %s, power ring %s, charging animation %s)", phase,
      page_.window().isMinimized() ? "minimised" : "shown",
      ring != nullptr && IsSeen(*ring) ? "seen" : "unseen", animation);
  bool told = false;
  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buffer[64];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0 || std::memchr(buffer, '\n', static_cast<std::size_t>(n)) != nullptr) told = true;
  });
  while (!told) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

SoakAction& SoakRun::Draw() {
  int pick = context_.Draw(total_weight_);
  for (SoakAction& action : actions_) {
    if (pick < action.weight) return action;
    pick -= action.weight;
  }
  return actions_.back();
}

void SoakRun::RandomUse() {
  answers_.Start();
  QDeadlineTimer end(std::chrono::seconds(options_.seconds));
  while (!end.hasExpired()) {
    SoakAction& action = Draw();
    auto& [done, not_possible] = counts_[action.name];
    ++(action.run(context_) ? done : not_possible);
    PageAccess::RunFor(context_.Draw(kLongestPauseMs + 1));
  }
}

bool SoakRun::BringToRest() {
  // Every link pulled and the cable plugged again: the page is then as it was
  // at the start (cable present, charging shown), so both idle phases
  // measure the same display.
  for (const ConnectionMode link : mouse_.Links()) {
    if (mouse_.Plugged(link) && !mouse_.SetPlugged(link, false)) return false;
  }
  mouse_.Request("wake");
  if (!mouse_.SetPlugged(ConnectionMode::kWired, true)) return false;
  // Without a mouse the window minimised itself; the user brings it back.
  if (page_.window().isMinimized()) page_.window().showNormal();
  ShowPowerPanel();
  for (int attempt = 0; attempt < kApplyAttempts; ++attempt) {
    if (auto* apply = page_.Usable<QAbstractButton>(QStringLiteral("ms_1_apply_btn"))) {
      PageAccess::Click(apply);
    }
    if (test::WaitFor([&] { return page_.Settled(); }, kApplyTimeoutMs)) return true;
  }
  return false;
}

// Bluetooth LE alone closes the power panel, and the cable's return shows
// only its box; the user ticks it to see the charging ring again.
void SoakRun::ShowPowerPanel() {
  const QWidget* ring = page_.Control(QStringLiteral("ms_1_progress_power"));
  for (int click = 0; click < 2 && ring != nullptr && !IsSeen(*ring); ++click) {
    if (auto* box = page_.Usable<QAbstractButton>(QStringLiteral("ms_1_check_power"))) {
      PageAccess::Click(box);
    }
  }
}

std::vector<std::string> SoakRun::FinalMismatches() {
  std::vector<std::string> mismatches;
  test::WaitFor(
      [&] {
        const auto current = page_.CurrentProfile();
        mismatches = current == nullptr ? std::vector<std::string>{"the page has no profile"}
                                        : MouseMismatches(*current, mouse_.State());
        return mismatches.empty();
      },
      kMouseCatchUpMs);
  return mismatches;
}

void SoakRun::ReportActions() {
  for (const auto& [name, count] : counts_) {
    Say("action %s: %d done, %d not possible at the time", name.c_str(), count.first,
        count.second);
  }
  for (const auto& [kind, count] : answers_.Answered()) {
    Say("answered %s: %d", kind.c_str(), count);
  }
  for (const auto& [anomaly, count] : context_.anomalies) {
    Say("anomaly %s: %d", anomaly.c_str(), count);
  }
}

int SoakRun::Run() {
  Say("seed %llu", static_cast<unsigned long long>(options_.seed));
  Say("seconds %d", options_.seconds);
  if (!mouse_.Connect()) {
    Say("error: no virtual mouse (start it with ms1sim state)");
    return kExitCannotStart;
  }
  if (!test::WaitFor([&] { return page_.page().DevicePresent(); }, kStartTimeoutMs)) {
    Say("error: the page found no mouse");
    return kExitCannotStart;
  }
  IdleUntilTold("before");
  const MemoryUse start = ReadMemoryUse();
  Say("memory at start: RSS %ld kB, PSS %ld kB", start.rss_kb, start.pss_kb);

  RandomUse();
  const bool rested = BringToRest();
  answers_.Stop();
  const std::vector<std::string> mismatches = FinalMismatches();
  ReportActions();
  if (!rested) Say("the page did not come to rest: edits were still unsent");
  for (const std::string& line : mismatches) Say("mismatch %s", line.c_str());
  Say("final state: %s", mismatches.empty() ? "the mouse holds the current profile"
                                            : "the mouse DIFFERS from the current profile");

  const MemoryUse end = ReadMemoryUse();
  const long growth = end.rss_kb - start.rss_kb;
  Say("memory at end: RSS %ld kB, PSS %ld kB", end.rss_kb, end.pss_kb);
  Say("memory growth: RSS %+ld kB, PSS %+ld kB (bound: RSS %+ld kB): %s", growth,
      end.pss_kb - start.pss_kb, options_.max_growth_kb,
      growth <= options_.max_growth_kb ? "within" : "EXCEEDED");
  IdleUntilTold("after");
  const bool passed = rested && mismatches.empty() && growth <= options_.max_growth_kb;
  Say("verdict: %s", passed ? "passed" : "FAILED");
  return passed ? kExitMatched : kExitFailed;
}

}  // namespace ms1::soak

// One soak of the running window: idle, random use for the given time, the
// page brought to rest with the cable plugged, the mouse compared with the
// current profile, idle again. Report lines go to the report stream; the idle
// phases wait for a line on standard input, so that the bench script can
// count the window's wake-ups meanwhile.
#pragma once

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench/soak_driver/memory_use.h"
#include "bench/soak_driver/modal_answers.h"
#include "bench/soak_driver/mouse_steering.h"
#include "bench/soak_driver/page_access.h"
#include "bench/soak_driver/soak_action.h"
#include "bench/soak_driver/soak_options.h"

namespace ms1::soak {

inline constexpr int kExitMatched = 0;
inline constexpr int kExitFailed = 1;        // the mouse differs, or memory grew too much
inline constexpr int kExitCannotStart = 2;  // no simulator, no mouse on the page

class SoakRun {
 public:
  SoakRun(CMainWnd& window, CMS_1_Page& page, const SoakOptions& options, std::FILE* report);

  // Every phase in turn; the run's exit code.
  int Run();

 private:
  void Say(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Announces an idle phase and runs the event loop until standard input
  // has a line or ends.
  void IdleUntilTold(const char* phase);
  void RandomUse();
  SoakAction& Draw();
  // Cable plugged, every other link pulled, the mouse awake, the window
  // shown, Apply pressed until nothing is left to send.
  bool BringToRest();
  void ShowPowerPanel();
  // The differences that remain once the page has settled (an empty list
  // when the mouse took the profile within the time allowed).
  std::vector<std::string> FinalMismatches();
  void ReportActions();

  PageAccess page_;
  MouseSteering mouse_;
  SoakOptions options_;
  std::FILE* report_;
  std::mt19937_64 random_;
  SoakContext context_;
  ModalAnswers answers_;
  std::vector<SoakAction> actions_;
  int total_weight_ = 0;
  std::map<std::string, std::pair<int, int>> counts_;  // done, not possible then
};

}  // namespace ms1::soak

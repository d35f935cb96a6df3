// What one soak run does: how long, from which seed, where it reports.
#pragma once

#include <cstdint>
#include <string>

namespace ms1::soak {

struct SoakOptions {
  int seconds = 600;
  uint64_t seed = 0;    // 0: one drawn from the clock, printed so the run can be repeated
  int report_fd = 1;    // figures and phase lines; the program's own traces stay on stdout
  bool bluetooth = false;  // a fake BlueZ serves the mouse's Bluetooth LE link
  long max_growth_kb = 0;  // resident memory the run may add; 0: the default bound
};

// Default bound on RSS growth over a run, in kB (see the README's bench section).
inline constexpr long kDefaultMaxGrowthKb = 16 * 1024;

// Parses the soak's own options; leaves the rest (Qt's) alone. False with a
// message in `error` on a bad option.
bool ParseSoakOptions(int argc, char** argv, SoakOptions& options, std::string& error);

}  // namespace ms1::soak

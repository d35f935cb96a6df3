// The macro report: one button's macro steps, uploaded under a macro number.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/protocol/macro_layout.h"
#include "model/records.h"
#include "model/report.h"

namespace ms1 {

inline constexpr int kMacroPairCapacity = macro_layout::kPairCapacity;
using macro_pair::kMaxLongDelayPairs;

using macro_pair::kLongestDelayMs;
using macro_pair::kLongestDirectDelayMs;

// A delay above the longest direct one goes as a remainder pair and a
// long-delay pair.
constexpr bool IsSplitDelay(uint32_t delay_ms) {
  return delay_ms > kLongestDirectDelayMs;
}

// What a macro's steps ask of the macro report, counted the way
// EncodeMacroReport packs them, with nothing left out.
struct MacroSize {
  int steps = 0;
  int pairs = 0;            // a pair for every step and one for every split delay
  int long_delays = 0;      // split delays, each wanting a long-delay pair
  int overlong_delays = 0;  // delays longer than a long-delay pair can count
};

MacroSize MeasureMacro(std::span<const MacroAction> steps);
MacroSize MeasureMacro(const MacroRecord& macro);
// The steps the encoder reads of a button.
MacroSize MeasureMacro(const ButtonRecord& button);

// The first limit a macro of that size breaks; the mouse plays a macro whole,
// every step with its pause, only when it breaks none.
enum class MacroFit {
  kFits,
  kTooManySteps,       // more than a macro record holds
  kTooManyPairs,       // the pair area ends before the last step
  kTooManyLongDelays,  // the later split delays get no long-delay pair
  kDelayTooLong,       // the count of 200 ms units wraps
};
MacroFit FitOf(const MacroSize& size);

// Why a macro of that size does not fit, in English for error messages;
// empty when it fits.
std::string MacroFitProblem(const MacroSize& size);

Report EncodeMacroReport(uint8_t macro_number, const ButtonRecord& button);

// The wired link takes 64-byte reports: the macro report goes as three chunks.
std::vector<Report> WiredMacroChunks(const Report& macro_report);

}  // namespace ms1

#include "model/macro_report.h"

#include <algorithm>

namespace ms1 {

namespace {

// Tens of milliseconds, rounded half up in single precision.
uint8_t TimeValue(uint32_t ms) {
  return static_cast<uint8_t>(static_cast<uint32_t>(
      static_cast<float>(ms) / static_cast<float>(macro_pair::kTimeUnitMs) + 0.5f));
}

// Collects step pairs and never writes past the 50-pair area before the checksum.
class PairWriter {
 public:
  explicit PairWriter(Report& report) : report_(report) {}
  int Remaining() const { return kMacroPairCapacity - count_; }
  void Emit(uint8_t time, uint8_t key) {
    if (Remaining() == 0) return;
    report_[macro_layout::PairAt(count_)] = time;
    report_[macro_layout::PairAt(count_) + 1] = key;
    ++count_;
  }
  int count() const { return count_; }

 private:
  Report& report_;
  int count_ = 0;
};

int EncodedSteps(const ButtonRecord& button) {
  return std::min<int>(button.macro_action_count, kMaxMacroActions);
}

}  // namespace

MacroSize MeasureMacro(std::span<const MacroAction> steps) {
  MacroSize size;
  size.steps = static_cast<int>(steps.size());
  for (const MacroAction& step : steps) {
    const bool split = IsSplitDelay(step.delay_ms);
    size.pairs += split ? 2 : 1;
    size.long_delays += split ? 1 : 0;
    size.overlong_delays += step.delay_ms > kLongestDelayMs ? 1 : 0;
  }
  return size;
}

MacroSize MeasureMacro(const MacroRecord& macro) {
  const int count = std::clamp<int32_t>(macro.action_count, 0, kMaxMacroActions);
  return MeasureMacro(std::span(macro.actions, static_cast<std::size_t>(count)));
}

MacroSize MeasureMacro(const ButtonRecord& button) {
  return MeasureMacro(
      std::span(button.macro_actions, static_cast<std::size_t>(EncodedSteps(button))));
}

MacroFit FitOf(const MacroSize& size) {
  if (size.steps > kMaxMacroActions) return MacroFit::kTooManySteps;
  if (size.pairs > kMacroPairCapacity) return MacroFit::kTooManyPairs;
  if (size.long_delays > kMaxLongDelayPairs) return MacroFit::kTooManyLongDelays;
  if (size.overlong_delays > 0) return MacroFit::kDelayTooLong;
  return MacroFit::kFits;
}

std::string MacroFitProblem(const MacroSize& size) {
  const auto text = [](auto n) { return std::to_string(n); };
  switch (FitOf(size)) {
    case MacroFit::kFits:
      break;
    case MacroFit::kTooManySteps:
      return "it has " + text(size.steps) + " steps, a macro holds " + text(kMaxMacroActions);
    case MacroFit::kTooManyPairs:
      return "its steps take " + text(size.pairs) + " of the mouse's " + text(kMacroPairCapacity) +
             " places (a pause above " + text(kLongestDirectDelayMs) + " ms takes two)";
    case MacroFit::kTooManyLongDelays:
      return "it has " + text(size.long_delays) + " pauses above " + text(kLongestDirectDelayMs) +
             " ms, the mouse plays at most " + text(kMaxLongDelayPairs);
    case MacroFit::kDelayTooLong:
      return "it has a pause above " + text(kLongestDelayMs) + " ms, the longest the mouse plays";
  }
  return {};
}

Report EncodeMacroReport(uint8_t macro_number, const ButtonRecord& button) {
  using namespace macro_layout;
  using namespace macro_pair;
  Report r = NewReport(command::kMacro, report_size::kMacro);
  r[kNumber] = macro_number;
  r[kRepeatMode] = static_cast<uint8_t>(static_cast<uint32_t>(button.macro_repeat_mode));
  for (std::size_t at = kReserved.first; at <= kReserved.last; ++at) r[at] = button.macro_reserved;
  const auto loops = static_cast<uint8_t>(static_cast<uint32_t>(button.macro_loop_count));
  r[kLoopCount] = loops == 0 ? 1 : loops;

  const int steps = EncodedSteps(button);
  PairWriter pairs(r);
  int long_delays = 0;
  for (int s = 0; s < steps; ++s) {
    const MacroAction& action = button.macro_actions[s];
    const uint8_t flag = action.state == kActionPress ? kPressFlag : kReleaseFlag;
    const uint32_t d = action.delay_ms;
    const bool split = IsSplitDelay(d);
    const bool long_pair = split && long_delays < kMaxLongDelayPairs;
    // A step is sent whole or not at all, so the mouse plays a true prefix.
    if (pairs.Remaining() < (long_pair ? 2 : 1)) break;
    if (!split) {
      pairs.Emit(TimeValue(d == 0 ? 1 : d) | flag, action.key);
      continue;
    }
    const uint32_t q = d / kLongDelayUnitMs;
    const uint32_t rest = d - kLongDelayUnitMs * q;
    pairs.Emit(TimeValue(rest == 0 ? 1 : rest) | flag, action.key);
    if (long_pair) {
      pairs.Emit(static_cast<uint8_t>(q), kLongDelayKey);
      ++long_delays;
    }
  }
  r[kPairCount] = static_cast<uint8_t>(pairs.count());
  StoreChecksum(r, kChecksum);
  return r;
}

std::vector<Report> WiredMacroChunks(const Report& macro_report) {
  using namespace macro_chunk_layout;
  std::vector<Report> chunks;
  for (int index = 0; index < kChunkCount; ++index) {
    Report chunk = NewReport(command::kMacro, report_size::kWiredChunk);
    chunk[kNumber] = macro_report.at(macro_layout::kNumber);
    chunk[kIndex] = static_cast<uint8_t>(index);
    const std::size_t from = kSourceFirst + static_cast<std::size_t>(index) * kPayloadSize;
    const std::size_t to = std::min(macro_report.size(), from + kPayloadSize);
    if (from < to) {
      std::copy(macro_report.begin() + from, macro_report.begin() + to,
                chunk.begin() + kFirstPayload);
    }
    chunks.push_back(std::move(chunk));
  }
  return chunks;
}

}  // namespace ms1

#include "model/macro_report.h"

#include <algorithm>

namespace ms1 {

namespace {

constexpr std::size_t kPairCountByte = 28;
constexpr std::size_t kFirstPairByte = 29;
constexpr std::size_t kLastPayloadByte = 128;

// Tens of milliseconds, rounded half up in single precision.
uint8_t TimeValue(uint32_t ms) {
  return static_cast<uint8_t>(static_cast<uint32_t>(static_cast<float>(ms) / 10.0f + 0.5f));
}

// Collects step pairs and never writes past the 50-pair area before the checksum.
class PairWriter {
 public:
  explicit PairWriter(Report& report) : report_(report) {}
  int Remaining() const { return kMacroPairCapacity - count_; }
  void Emit(uint8_t first, uint8_t second) {
    if (Remaining() == 0) return;
    report_[kFirstPairByte + 2 * count_] = first;
    report_[kFirstPairByte + 2 * count_ + 1] = second;
    ++count_;
  }
  int count() const { return count_; }

 private:
  Report& report_;
  int count_ = 0;
};

}  // namespace

Report EncodeMacroReport(uint8_t macro_number, const ButtonRecord& button) {
  Report r = NewReport(command::kMacro, report_size::kMacro);
  r[2] = macro_number;
  r[3] = static_cast<uint8_t>(static_cast<uint32_t>(button.macro_repeat_mode));
  r[4] = r[5] = r[6] = button.macro_reserved;
  const auto loops = static_cast<uint8_t>(static_cast<uint32_t>(button.macro_loop_count));
  r[7] = loops == 0 ? 1 : loops;

  const int steps = std::min<int>(button.macro_action_count, kMaxMacroActions);
  PairWriter pairs(r);
  int long_delays = 0;
  for (int s = 0; s < steps; ++s) {
    const MacroAction& action = button.macro_actions[s];
    const uint8_t flag = action.state == kActionPress ? 0x01 : 0x81;
    const uint32_t d = action.delay_ms;
    const bool split = d > 1270;
    const bool long_pair = split && long_delays < kMaxLongDelayPairs;
    // A step is sent whole or not at all, so the mouse plays a true prefix.
    if (pairs.Remaining() < (long_pair ? 2 : 1)) break;
    if (!split) {
      pairs.Emit(TimeValue(d == 0 ? 1 : d) | flag, action.key);
      continue;
    }
    const uint32_t q = d / 200;
    const uint32_t rest = d - 200 * q;
    pairs.Emit(TimeValue(rest == 0 ? 1 : rest) | flag, action.key);
    if (long_pair) {
      pairs.Emit(static_cast<uint8_t>(q), 0x03);
      ++long_delays;
    }
  }
  r[kPairCountByte] = static_cast<uint8_t>(pairs.count());
  StoreChecksum(r, kLastPayloadByte);
  return r;
}

std::vector<Report> WiredMacroChunks(const Report& macro_report) {
  constexpr std::size_t kChunkPayload = report_size::kWiredChunk - 4;
  std::vector<Report> chunks;
  for (uint8_t index = 0; index < 3; ++index) {
    Report chunk(report_size::kWiredChunk, 0);
    chunk[0] = command::kMacro;
    chunk[1] = static_cast<uint8_t>(report_size::kWiredChunk);
    chunk[2] = macro_report.at(2);
    chunk[3] = index;
    const std::size_t from = 3 + index * kChunkPayload;
    const std::size_t to = std::min(macro_report.size(), from + kChunkPayload);
    if (from < to) std::copy(macro_report.begin() + from, macro_report.begin() + to, chunk.begin() + 4);
    chunks.push_back(std::move(chunk));
  }
  return chunks;
}

}  // namespace ms1

#include "model/protocol/polling_rate.h"

#include <array>

namespace ms1 {

namespace {

constexpr int kMillisecondsPerSecond = 1000;
// Indexed by polling_rate; the slowest rate first.
constexpr std::array<uint8_t, kPollingRateCount> kIntervals = {8, 4, 2, 1};
constexpr uint8_t kUnknownIndexInterval = 2;

bool KnownIndex(int32_t polling_rate) {
  return polling_rate >= 0 && polling_rate < kPollingRateCount;
}

}  // namespace

uint8_t PollingIntervalCode(int32_t polling_rate) {
  return KnownIndex(polling_rate) ? kIntervals[static_cast<std::size_t>(polling_rate)]
                                  : kUnknownIndexInterval;
}

std::optional<int> PollingHzForIndex(int32_t polling_rate) {
  if (!KnownIndex(polling_rate)) return std::nullopt;
  return PollingRateHz(PollingIntervalCode(polling_rate));
}

int PollingRateHz(uint8_t interval_ms) {
  return interval_ms == 0 ? 0 : kMillisecondsPerSecond / interval_ms;
}

bool IsPollingInterval(uint8_t interval_ms) {
  for (uint8_t interval : kIntervals) {
    if (interval == interval_ms) return true;
  }
  return false;
}

std::optional<int32_t> PollingIndexForEvent(uint16_t value) {
  if (value < 1 || value > kIntervals.front()) return std::nullopt;
  for (int32_t index = 0; index < kPollingRateCount; ++index) {
    if (value >= kIntervals[static_cast<std::size_t>(index)]) return index;
  }
  return std::nullopt;  // not reached: the last interval is 1
}

}  // namespace ms1

// The four polling rates: the index a profile stores (0..3), the report
// interval in milliseconds the polling-rate report carries (8, 4, 2, 1), and
// the rate in Hz the user sees (125, 250, 500, 1000).
#pragma once

#include <cstdint>
#include <optional>

namespace ms1 {

inline constexpr int kPollingRateCount = 4;

// Report interval in milliseconds for a polling-rate index; an unknown index
// is sent as 2 ms.
uint8_t PollingIntervalCode(int32_t polling_rate);

// The rate of a polling-rate index; nothing for an unknown index.
std::optional<int> PollingHzForIndex(int32_t polling_rate);

// The rate a report interval stands for; 0 for an interval of 0.
int PollingRateHz(uint8_t interval_ms);

// One of the four intervals the polling-rate report may carry.
bool IsPollingInterval(uint8_t interval_ms);

// The polling-rate event reports the report interval in milliseconds (1, 2, 4
// or 8, as the polling-rate report sends it). Other values 1..8 round down to
// the nearest of those. Returns the polling_rate index 0..3; nothing for
// values outside 1..8.
std::optional<int32_t> PollingIndexForEvent(uint16_t value);

}  // namespace ms1

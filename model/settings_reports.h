// The four small reports that carry the non-button settings of a mode record.
#pragma once

#include <cstdint>

#include "model/records.h"
#include "model/report.h"

namespace ms1 {

Report EncodeSettingsReport(const ProfileRecord& profile, int k);
Report EncodeLightingReport(const ProfileRecord& profile, int k);
// j is the repetition number, 1 or 2.
Report EncodePollingReport(const ProfileRecord& profile, int k, int j);
Report EncodeModeSelectReport(const ProfileRecord& profile);

// Report interval in milliseconds for a polling-rate index (125/250/500/1000 Hz);
// an unknown index is sent as 2 ms.
uint8_t PollingIntervalCode(int32_t polling_rate);

// The two device step counts of one DPI level and whether it is in the high range.
struct DpiSteps {
  uint8_t s39;
  uint8_t s38;
  bool high_range;
};
DpiSteps DpiStepsFor(int32_t dpi_value);

}  // namespace ms1

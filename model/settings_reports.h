// The four small reports that carry the non-button settings of a mode record.
#pragma once

#include <cstdint>

#include "model/protocol/dpi_steps.h"
#include "model/protocol/polling_rate.h"
#include "model/records.h"
#include "model/report.h"

namespace ms1 {

Report EncodeSettingsReport(const ProfileRecord& profile, int k);
Report EncodeLightingReport(const ProfileRecord& profile, int k);
// j is the repetition number, 1 or 2.
Report EncodePollingReport(const ProfileRecord& profile, int k, int j);
Report EncodeModeSelectReport(const ProfileRecord& profile);

}  // namespace ms1

// The four small reports that carry the non-button settings of a mode record.
#pragma once

#include <cstdint>

#include "model/protocol/dpi_steps.h"
#include "model/protocol/polling_rate.h"
#include "model/records.h"
#include "model/report.h"

namespace ms1 {

Report EncodeSettingsReport(const ProfileRecord& profile, int mode_index);
Report EncodeLightingReport(const ProfileRecord& profile, int mode_index);
// repetition is 1 or 2: the report is sent twice.
Report EncodePollingReport(const ProfileRecord& profile, int mode_index, int repetition);
Report EncodeModeSelectReport(const ProfileRecord& profile);

}  // namespace ms1

// The button-mapping report: the device bytes of the 18 buttons of one mode record.
#pragma once

#include <array>
#include <cstdint>

#include "model/records.h"
#include "model/report.h"

namespace ms1 {

// Macro number per button of one mode record (0 = none).
using MacroNumberRow = std::array<uint8_t, kButtonCount>;

Report EncodeButtonReport(const ProfileRecord& profile, int k, const MacroNumberRow& macro_numbers);

}  // namespace ms1

// The macro report: one button's macro steps, uploaded under a macro number.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/protocol/macro_layout.h"
#include "model/records.h"
#include "model/report.h"

namespace ms1 {

inline constexpr int kMacroPairCapacity = macro_layout::kPairCapacity;
using macro_pair::kMaxLongDelayPairs;

Report EncodeMacroReport(uint8_t macro_number, const ButtonRecord& button);

// The wired link takes 64-byte reports: the macro report goes as three chunks.
std::vector<Report> WiredMacroChunks(const Report& macro_report);

}  // namespace ms1

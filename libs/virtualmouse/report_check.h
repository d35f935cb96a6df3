// Framing checks of one report as the simulated mouse receives it over a link.
// The macro chunk order is checked by the mouse itself, which remembers the
// previous chunk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "libs/virtualmouse/link.h"

namespace ms1::vmouse {

inline constexpr std::size_t kWiredMaxReport = 64;
inline constexpr std::size_t kMaxReport = 131;
inline constexpr int kModeNumberMin = 1;
inline constexpr int kModeNumberMax = 5;

// Empty when the report is well formed for this link, else why it is refused.
std::string CheckReport(Link link, const uint8_t* data, std::size_t size);

}  // namespace ms1::vmouse

// Where each value sits in the mode-select report (command 0x0C). It has no
// checksum: each value is followed by its complement.
#pragma once

#include "model/protocol/framing.h"

namespace ms1::mode_select_layout {

inline constexpr std::size_t kModeNumber = frame::kTarget;
inline constexpr std::size_t kModeComplement = 3;
inline constexpr std::size_t kMarker = 4;
inline constexpr uint8_t kMarkerValue = 0x02;
inline constexpr std::size_t kMarkerComplement = 5;
inline constexpr ByteSpan kPadding = {6, 9};
static_assert(kPadding.last + 1 == report_size::kModeSelect);

}  // namespace ms1::mode_select_layout

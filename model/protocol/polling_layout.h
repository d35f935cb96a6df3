// Where each value sits in the polling-rate report (command 0x06). It has no
// checksum: the interval is protected by its complement.
#pragma once

#include "model/protocol/framing.h"

namespace ms1::polling_layout {

// Byte 2 is the repetition number, not a mode number: each report goes twice.
inline constexpr std::size_t kRepetition = frame::kTarget;
inline constexpr int kFirstRepetition = 1;
inline constexpr int kLastRepetition = 2;
inline constexpr std::size_t kInterval = 3;
inline constexpr std::size_t kIntervalComplement = 4;
inline constexpr ByteSpan kPadding = {5, 8};
static_assert(kPadding.last + 1 == report_size::kPollingRate);

}  // namespace ms1::polling_layout

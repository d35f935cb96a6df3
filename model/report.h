// Building reports for the mouse: a report is a byte buffer with the framing
// of model/protocol/framing.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/protocol/framing.h"

namespace ms1 {

// One report as sent: byte 0 the command, byte 1 the total length.
using Report = std::vector<uint8_t>;

// Stores the checksum of the span high byte first in the two bytes after it.
void StoreChecksum(Report& report, ChecksumSpan span);

// A zeroed report of the given size with the command and length bytes set.
Report NewReport(uint8_t command, std::size_t size);

}  // namespace ms1

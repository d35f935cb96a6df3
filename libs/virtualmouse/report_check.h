// Framing checks of one report as the simulated mouse receives it over a link.
// The macro chunk order is checked by the mouse itself, which remembers the
// previous chunk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/protocol/link_ids.h"

namespace ms1::vmouse {

// Empty when the report is well formed for this link, else why it is refused.
std::string CheckReport(ConnectionMode link, const uint8_t* data, std::size_t size);

}  // namespace ms1::vmouse

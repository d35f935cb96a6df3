// Reports as text: two-digit uppercase hex bytes separated by single spaces.
#pragma once

#include <string>

#include "model/report.h"

namespace ms1::cli {

std::string HexLine(const Report& report);

}  // namespace ms1::cli

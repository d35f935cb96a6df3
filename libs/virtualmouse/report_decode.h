// Readable JSON views of the reports the simulated mouse keeps.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "libs/virtualmouse/hex_text.h"

namespace ms1::vmouse {

nlohmann::json DecodeSettings(const std::vector<uint8_t>& report);
nlohmann::json DecodeLighting(const std::vector<uint8_t>& report);
nlohmann::json DecodeButtons(const std::vector<uint8_t>& report);
nlohmann::json DecodeMacro(const std::vector<uint8_t>& report);

}  // namespace ms1::vmouse

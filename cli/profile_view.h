// A readable view of a profile for `ms1ctl show`: JSON, and text made from it.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "model/records.h"

namespace ms1::cli {

// Steps of a macro (a stored one or a button's copy); never more than 46.
nlohmann::json MacroStepsToJson(const MacroAction* actions, int count);
// "press key 0x04, wait 20 ms"
std::string MacroStepLine(const nlohmann::json& step);

nlohmann::json ProfileToJson(const ProfileRecord& profile);
std::string ProfileJsonToText(const nlohmann::json& view);

}  // namespace ms1::cli

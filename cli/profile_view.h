// A readable view of a profile for `ms1ctl show`: JSON, and text made from it.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "model/records.h"

namespace ms1::cli {

nlohmann::json ProfileToJson(const ProfileRecord& profile);
std::string ProfileJsonToText(const nlohmann::json& view);

}  // namespace ms1::cli

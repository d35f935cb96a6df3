// The soak's verdict on the mouse: does what the virtual mouse holds equal
// what the current profile encodes?
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "model/records.h"

namespace ms1::soak {

// One line per difference between the mouse's state (the "state" object the
// simulator reports) and the reports a forced full apply of `profile` sends:
// the mode selection, settings, lighting and polling rate of the two mode
// records an apply writes, their button mappings and the macros they play.
// Empty when the mouse holds exactly that.
std::vector<std::string> MouseMismatches(const ProfileRecord& profile,
                                         const nlohmann::json& state);

}  // namespace ms1::soak

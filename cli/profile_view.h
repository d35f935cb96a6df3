// A readable view of a profile for `ms1ctl show`: JSON, and text made from it.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "cli/key_names.h"
#include "model/records.h"

namespace ms1::cli {

// Steps of a macro (a stored one or a button's copy); never more than 46.
// Each keeps its key code as "key" and adds the key's name as "key_name".
nlohmann::json MacroStepsToJson(const MacroAction* actions, int count, const KeyNames& names);
// "press A (0x04), wait 20 ms"; "press key 0x32, ..." for a key without a name
std::string MacroStepLine(const nlohmann::json& step);

// A shortcut button has "shortcut" as shown ("Ctrl+Shift+C"), and beside it
// "shortcut_modifiers" (["ctrl", "shift"]), "shortcut_key" (its key code)
// and "shortcut_key_name".
nlohmann::json ProfileToJson(const ProfileRecord& profile, const KeyNames& names);
std::string ProfileJsonToText(const nlohmann::json& view);

}  // namespace ms1::cli

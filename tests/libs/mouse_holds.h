// What the virtual mouse must hold once a profile has been applied in full:
// mode records 0 and 1 with their settings, lighting and buttons, every macro,
// the polling rate and the active mode.
#pragma once

#include <cstring>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "libs/virtualmouse/hex_text.h"
#include "model/apply_plan.h"
#include "model/button_report.h"
#include "model/protocol/polling_rate.h"
#include "model/settings_reports.h"

namespace ms1::test {

// A member or element of the state, null where there is none: the state
// reports a record the mouse has not received as null, and a simulator that
// did not answer gives no state at all; both must show up as missing, not
// throw.
inline const nlohmann::json& Absent() {
  static const nlohmann::json kNone;
  return kNone;
}
inline const nlohmann::json& Member(const nlohmann::json& json, const std::string& key) {
  if (!json.is_object()) return Absent();
  const auto found = json.find(key);
  return found == json.end() ? Absent() : *found;
}
inline const nlohmann::json& Element(const nlohmann::json& json, std::size_t index) {
  return json.is_array() && index < json.size() ? json[index] : Absent();
}

// The parts of `profile` that the mouse's `state` (as `state` reports it)
// does not hold; empty when it holds all of them.
inline std::string MissingFromMouse(const nlohmann::json& state, const ProfileRecord& profile) {
  auto blank = std::make_unique<ProfileRecord>();
  std::memset(blank.get(), 0, sizeof(ProfileRecord));
  const ApplyPlan plan = PlanApply(profile, *blank, true);
  std::string missing;
  auto expect = [&](const nlohmann::json& held, const Report& report, const std::string& what) {
    if (held != vmouse::ToHex(report)) missing += what + "; ";
  };
  for (int k = 0; k < 2; ++k) {
    const nlohmann::json& mode = Element(Member(state, "modes"), static_cast<std::size_t>(k));
    const std::string record = "mode record " + std::to_string(k);
    expect(Member(Member(mode, "settings"), "raw"), EncodeSettingsReport(profile, k),
           record + " settings");
    expect(Member(Member(mode, "lighting"), "raw"), EncodeLightingReport(profile, k),
           record + " lighting");
    expect(Member(Member(mode, "buttons"), "raw"),
           EncodeButtonReport(profile, k, plan.macro_numbers[k]), record + " buttons");
  }
  for (const Report& report : plan.reports) {
    if (report[0] != command::kMacro) continue;
    const std::string number = std::to_string(report[2]);
    expect(Member(Member(Member(state, "macros"), number), "raw"), report, "macro " + number);
  }
  if (Member(Member(state, "polling_rate"), "interval_ms") !=
      PollingIntervalCode(profile.modes[0].polling_rate)) {
    missing += "polling rate; ";
  }
  if (Member(state, "active_mode") != profile.active_mode) missing += "active mode; ";
  return missing;
}

}  // namespace ms1::test

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
    const nlohmann::json& mode = state["modes"][k];
    const std::string record = "mode record " + std::to_string(k);
    expect(mode["settings"]["raw"], EncodeSettingsReport(profile, k), record + " settings");
    expect(mode["lighting"]["raw"], EncodeLightingReport(profile, k), record + " lighting");
    expect(mode["buttons"]["raw"], EncodeButtonReport(profile, k, plan.macro_numbers[k]),
           record + " buttons");
  }
  for (const Report& report : plan.reports) {
    if (report[0] != command::kMacro) continue;
    const std::string number = std::to_string(report[2]);
    expect(state["macros"][number]["raw"], report, "macro " + number);
  }
  if (state["polling_rate"]["interval_ms"] != PollingIntervalCode(profile.modes[0].polling_rate)) {
    missing += "polling rate; ";
  }
  if (state["active_mode"] != profile.active_mode) missing += "active mode; ";
  return missing;
}

}  // namespace ms1::test

#include "record_invariants.h"

#include <memory>
#include <string>

#include "fuzz_support.h"
#include "libs/virtualmouse/report_check.h"
#include "model/apply_plan.h"
#include "model/button_report.h"
#include "model/macro_report.h"
#include "model/profile.h"
#include "model/record_safety.h"
#include "model/settings_reports.h"

namespace ms1::fuzz {

// Profile records are large, and a fresh one is slow under ASan (a new
// mapping each time), so the working copies here live across inputs.

namespace {

void RequireAccepted(ConnectionMode link, const Report& report) {
  const std::string refusal = vmouse::CheckReport(link, report.data(), report.size());
  if (!refusal.empty()) {
    Broken(std::string("the mouse refuses an encoded report on the ") + LinkName(link) +
           " link: " + refusal);
  }
}

}  // namespace

void RequireSendable(const Report& report) {
  Require(report.size() >= frame::kHeaderSize, "a report shorter than its header");
  Require(report[frame::kLength] == report.size(), "a report whose length byte is not its size");
  RequireAccepted(ConnectionMode::kReceiver, report);
  if (report[frame::kCommand] != command::kPollingRate)
    RequireAccepted(ConnectionMode::kBluetooth, report);
  if (report[frame::kCommand] == command::kMacro) {
    for (const Report& chunk : WiredMacroChunks(report))
      RequireAccepted(ConnectionMode::kWired, chunk);
  } else {
    RequireAccepted(ConnectionMode::kWired, report);
  }
}

void RequireProfileSendable(const ProfileRecord& profile) {
  const MacroNumbering numbers = NumberMacros(profile);
  for (int k = 0; k < kModeCount; ++k) {
    RequireSendable(EncodeSettingsReport(profile, k));
    RequireSendable(EncodeLightingReport(profile, k));
    RequireSendable(EncodePollingReport(profile, k, 1));
    RequireSendable(EncodePollingReport(profile, k, 2));
    RequireSendable(EncodeButtonReport(profile, k, numbers[static_cast<std::size_t>(k)]));
  }
  const ModeRecord& mode0 = profile.modes[0];
  for (int i = 0; i < kButtonCount; ++i) {
    const uint8_t number = numbers[0][static_cast<std::size_t>(i)];
    if (number != 0) RequireSendable(EncodeMacroReport(number, mode0.buttons[i]));
  }
  static const auto active = std::make_unique<ProfileRecord>();
  static const auto never_sent = std::make_unique<ProfileRecord>();
  *active = profile;
  for (int m = 0; m < kModeCount; ++m) {
    active->active_mode = m;
    for (const Report& report : PlanApply(*active, *never_sent, true).reports) {
      RequireSendable(report);
    }
  }
}

void RequireSafe(const ProfileRecord& profile) {
  static const auto copy = std::make_unique<ProfileRecord>();
  *copy = profile;
  MakeProfileSafe(*copy);
  Require(SameBytes(*copy, profile), "a profile in the list is not safe");
}

void RequireSafe(const MacroRecord& macro) {
  MacroRecord copy = macro;
  MakeMacroSafe(copy);
  Require(SameBytes(copy, macro), "a macro in the list is not safe");
}

void RequireLoadOutcome(const StoreLoad& load, bool sound, std::span<const uint8_t> stored) {
  if (sound) {
    Require(load.ok() && load.set_aside.empty(), "a sound store was reported damaged");
    return;
  }
  Require(!load.ok(), "a damaged store was not reported");
  Require(!load.set_aside.empty() &&
              ReadFile(load.set_aside) ==
                  std::string(reinterpret_cast<const char*>(stored.data()), stored.size()),
          "a damaged store was not kept aside as it was");
}

}  // namespace ms1::fuzz

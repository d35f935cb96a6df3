// What one apply sends: the sections that differ from the last-applied copy
// (or all of them when a full apply is forced), encoded in send order.
#pragma once

#include <array>
#include <vector>

#include "model/button_report.h"
#include "model/records.h"
#include "model/report.h"

namespace ms1 {

struct SectionFlags {
  bool settings = false;
  bool lighting = false;
  bool polling_rate = false;
  bool buttons = false;

  static SectionFlags All() { return {true, true, true, true}; }
  bool operator==(const SectionFlags&) const = default;
};

// Compares the active mode record of both profiles, section by section, and
// the mode records 0 and 1 that every apply sends: shared settings are the
// same in every mode, but a DPI colour is chosen for each mode record on its
// own, and one changed in the other sent record must not pass for sent.
SectionFlags DiffProfiles(const ProfileRecord& current, const ProfileRecord& last_applied);

// Macro number per mode record and button; numbers are given to the macro
// buttons of mode record 0 in button order and copied to the other rows.
using MacroNumbering = std::array<MacroNumberRow, kModeCount>;
MacroNumbering NumberMacros(const ProfileRecord& profile);

struct ApplyPlan {
  bool forced = false;  // every section, whatever the last-applied copy says
  SectionFlags sections;
  MacroNumbering macro_numbers{};  // filled when the buttons section is sent
  std::vector<Report> reports;     // full-size reports (macros not yet chunked)
};

ApplyPlan PlanApply(const ProfileRecord& current, const ProfileRecord& last_applied,
                    bool force_full);

}  // namespace ms1

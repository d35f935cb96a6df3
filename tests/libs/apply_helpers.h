// Sends an apply plan report by report the way the transport adapts it to a
// link: macros as three 64-byte chunks over the wired link, whole otherwise.
#pragma once

#include <vector>

#include "model/apply_plan.h"
#include "model/macro_report.h"
#include "model/report.h"

namespace ms1::test {

inline std::vector<Report> ReportsForLink(const ApplyPlan& plan, bool wired) {
  std::vector<Report> out;
  for (const Report& report : plan.reports) {
    if (wired && report[0] == command::kMacro) {
      for (const Report& chunk : WiredMacroChunks(report)) out.push_back(chunk);
    } else {
      out.push_back(report);
    }
  }
  return out;
}

}  // namespace ms1::test

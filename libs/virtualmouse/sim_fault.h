// A fault the simulator stages for a chosen moment: after the next N reports
// have reached the mouse, a link is pulled, the simulator dies on the spot, or
// the Nth report is never answered (a mouse, or BlueZ, that stopped answering).
// Counting reports rather than time makes "the middle of an apply" exact.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/protocol/link_ids.h"

namespace ms1::vmouse {

struct StagedFault {
  enum class Action { kUnplug, kDie, kHang };
  int reports_left = 0;
  Action action = Action::kUnplug;
  ConnectionMode link = ConnectionMode::kWired;  // kUnplug only
};

// From the words "after N unplug LINK", "after N die" or "after N hang" (N at
// least 1); empty with `error` set otherwise.
std::optional<StagedFault> ParseStagedFault(const std::vector<std::string>& words,
                                            std::string& error);

// Counts one report; true when the fault is due now.
bool CountReport(StagedFault& fault);

}  // namespace ms1::vmouse

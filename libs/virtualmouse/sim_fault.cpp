#include "libs/virtualmouse/sim_fault.h"

#include <charconv>

namespace ms1::vmouse {

std::optional<StagedFault> ParseStagedFault(const std::vector<std::string>& words,
                                            std::string& error) {
  error = "use: after N unplug LINK, after N die or after N hang";
  if (words.size() < 3 || words[0] != "after") return std::nullopt;
  StagedFault fault;
  const std::string& count = words[1];
  const auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(),
                                         fault.reports_left);
  if (ec != std::errc() || end != count.data() + count.size() || fault.reports_left < 1) {
    error = "the report count must be 1 or more";
    return std::nullopt;
  }
  if (words[2] == "die" && words.size() == 3) {
    fault.action = StagedFault::Action::kDie;
  } else if (words[2] == "hang" && words.size() == 3) {
    fault.action = StagedFault::Action::kHang;
  } else {
    const auto link = words.size() == 4 ? ParseLink(words[3]) : std::nullopt;
    if (words[2] != "unplug" || !link) return std::nullopt;
    fault.link = *link;
  }
  error.clear();
  return fault;
}

bool CountReport(StagedFault& fault) {
  return --fault.reports_left == 0;
}

}  // namespace ms1::vmouse

#include "bench/soak_driver/mouse_match.h"

#include <set>

#include "libs/virtualmouse/hex_text.h"
#include "model/apply_plan.h"
#include "model/protocol/polling_layout.h"

namespace ms1::soak {
namespace {

using nlohmann::json;

// Compares one expectation once: the full apply sends the mode selection and
// the polling rate twice.
class Verdict {
 public:
  void Expect(const std::string& what, const json& held, const json& expected) {
    if (!compared_.insert(what).second || held == expected) return;
    mismatches_.push_back(what + ": the mouse holds " + held.dump() + ", the profile encodes " +
                          expected.dump());
  }
  std::vector<std::string> Take() { return std::move(mismatches_); }

 private:
  std::set<std::string> compared_;
  std::vector<std::string> mismatches_;
};

// The value at `path` in the mouse's state; null where the mouse holds nothing.
json Held(const json& state, const std::string& path) {
  return state.value(json::json_pointer(path), json());
}

void Compare(Verdict& verdict, const Report& report, const json& state) {
  const int target = report[frame::kTarget];
  const json raw = vmouse::ToHex(report);
  const std::string record = std::to_string(target - 1);
  const auto per_mode = [&](const char* kind) {
    verdict.Expect("mode record " + record + " " + kind,
                   Held(state, "/modes/" + record + "/" + kind + "/raw"), raw);
  };
  switch (report[frame::kCommand]) {
    case command::kModeSelect:
      verdict.Expect("active mode", Held(state, "/active_mode"), target - 1);
      break;
    case command::kSettings:
      per_mode("settings");
      break;
    case command::kLighting:
      per_mode("lighting");
      break;
    case command::kButtonMapping:
      per_mode("buttons");
      break;
    case command::kPollingRate:
      verdict.Expect("polling interval", Held(state, "/polling_rate/interval_ms"),
                     report[polling_layout::kInterval]);
      break;
    case command::kMacro:
      verdict.Expect("macro " + std::to_string(target),
                     Held(state, "/macros/" + std::to_string(target) + "/raw"), raw);
      break;
    default:
      break;
  }
}

}  // namespace

std::vector<std::string> MouseMismatches(const ProfileRecord& profile, const json& state) {
  if (!state.is_object()) return {"no state from the mouse"};
  Verdict verdict;
  for (const Report& report : PlanApply(profile, profile, true).reports) {
    Compare(verdict, report, state);
  }
  return verdict.Take();
}

}  // namespace ms1::soak

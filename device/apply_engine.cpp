#include "device/apply_engine.h"

#include <cstdio>

#include "device/messages.h"

namespace ms1 {

void ApplyEngine::ApplyConfiguration() {
  if (links_.mouseAsleep.load() != 0) {
    // The mouse takes no reports while it sleeps. The edit is kept on disk and
    // stays unsent; the mouse reporting itself awake brings the apply back.
    model_.SaveStore(store_);
    return;
  }
  std::optional<PageModel::ApplyInput> input = model_.TakeApplyInput();
  if (!input) return;

  host_.StopHeartbeat();
  host_.ShowApplyProgress(true);
  const ApplyPlan plan = PlanApply(*input->current, *input->last_applied, input->force_full);
  int undelivered = 0;
  bool left_out = false;  // only the polling rate is ever left out by a link
  for (const Report& report : plan.reports) {
    const SendOutcome outcome = sender_.Send(report.data(), static_cast<int>(report.size()));
    if (outcome.Lost()) ++undelivered;
    left_out = left_out || outcome.not_for_link;
  }
  host_.StartHeartbeat(period::kReceiverHeartbeat);
  if (undelivered != 0) {
    std::fprintf(stderr, "apply: %d of %zu reports not delivered; the next apply sends everything\n",
                 undelivered, plan.reports.size());
  }
  model_.SaveStore(store_);
  // A report that did not arrive leaves the mouse in an unknown state: only a
  // full apply brings it back to the profile.
  if (undelivered == 0) {
    model_.RecordApplied(*input->current, plan, left_out);
  } else {
    model_.RecordApplyFailed();
  }
  host_.ShowApplyProgress(false);
}

}  // namespace ms1

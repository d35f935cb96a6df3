#include "device/apply_engine.h"

#include "device/messages.h"

namespace ms1 {

void ApplyEngine::ApplyConfiguration() {
  if (links_.mouseAsleep.load() != 0) return;
  std::optional<PageModel::ApplyInput> input = model_.TakeApplyInput();
  if (!input) return;

  host_.StopHeartbeat();
  host_.ShowApplyProgress(true);
  const ApplyPlan plan = PlanApply(*input->current, *input->last_applied, input->force_full);
  for (const Report& report : plan.reports) {
    sender_.SendReport(report.data(), static_cast<int>(report.size()));
  }
  host_.StartHeartbeat(period::kReceiverHeartbeat);
  model_.SaveStore(store_);
  model_.RecordApplied(*input->current, plan);
  host_.ShowApplyProgress(false);
}

}  // namespace ms1

#include "device/apply_engine.h"

#include <cstdio>

#include "device/messages.h"
#include "model/protocol/framing.h"

namespace ms1 {

ApplyOutcome ApplyEngine::ApplyConfiguration() {
  if (links_.mouseAsleep.load() != 0) {
    // The mouse takes no reports while it sleeps. The edit is kept on disk and
    // stays unsent; the mouse reporting itself awake brings the apply back.
    model_.SaveStore(store_);
    NoteNoLink();
    return ApplyOutcome::kDone;
  }
  std::optional<PageModel::ApplyInput> input = model_.TakeApplyInput();
  if (!input) return ApplyOutcome::kDone;

  host_.StopHeartbeat();
  host_.ShowApplyProgress(true);
  const ApplyPlan plan = PlanApply(*input->current, *input->last_applied, input->force_full);
  int undelivered = 0;
  int left_out = 0;  // only the polling rate is ever left out by a link
  int polling_taken = 0;
  for (std::size_t i = 0; i < plan.reports.size(); ++i) {
    const Report& report = plan.reports[i];
    model_.RecordSending(i);
    const SendOutcome outcome = sender_.Send(report.data(), static_cast<int>(report.size()));
    if (outcome.Lost()) ++undelivered;
    if (outcome.not_for_link) ++left_out;
    if (report[frame::kCommand] == command::kPollingRate && !outcome.not_for_link) ++polling_taken;
  }
  const PollingDelivery polling = left_out == 0       ? PollingDelivery::kAll
                                  : polling_taken == 0 ? PollingDelivery::kNone
                                                       : PollingDelivery::kSome;
  host_.StartHeartbeat(period::kReceiverHeartbeat);
  if (undelivered != 0) {
    std::fprintf(stderr, "apply: %d of %zu reports not delivered; the next apply sends everything\n",
                 undelivered, plan.reports.size());
  }
  // A report that did not arrive leaves the mouse in an unknown state: only a
  // full apply brings it back to the profile.
  bool again = false;
  if (undelivered == 0) {
    again = model_.RecordApplied(*input->current, plan, polling);
  } else {
    model_.RecordApplyFailed();
  }
  model_.SaveStore(store_);  // and with it, whether anything is left unsent
  host_.ShowApplyProgress(false);
  // A lost report waits for the next usable link. A polling rate that
  // Bluetooth LE left out is no news: that link never takes one.
  TellUnsent(undelivered != 0);
  return again ? ApplyOutcome::kSendAgain : ApplyOutcome::kDone;
}

void ApplyEngine::NoteNoLink() {
  TellUnsent(model_.HasUnsentEdits());
}

void ApplyEngine::RefreshUnsentNotice() {
  if (unsent_told_ && !model_.HasUnsentEdits()) TellUnsent(false);
}

void ApplyEngine::TellUnsent(bool unsent) {
  unsent_told_ = unsent;
  host_.ShowUnsentEdits(unsent);
}

}  // namespace ms1

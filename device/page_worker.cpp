#include "device/page_worker.h"

namespace ms1 {

void PageWorker::Start() {
  std::lock_guard lock(lifecycle_mutex_);
  if (thread_.joinable() || stopped_) return;
  thread_ = std::thread([this] { Run(); });
}

void PageWorker::Post(uint32_t id) {
  std::lock_guard lock(lifecycle_mutex_);
  if (stopped_) return;
  // An apply works on the profile as it stands when it starts, so a request
  // made while another one waits unstarted is already served by that one.
  if (id == TM_APPLY) {
    queue_.PostUnlessWaiting({id, 0, 0});
  } else {
    queue_.Post({id, 0, 0});
  }
}

void PageWorker::Stop() {
  std::thread ending;
  {
    std::lock_guard lock(lifecycle_mutex_);
    if (stopped_) return;
    stopped_ = true;
    queue_.Post({kWorkerQuit, 0, 0});
    ending = std::move(thread_);
  }
  // Joined outside the lock: the apply still running may post meanwhile.
  if (ending.joinable()) ending.join();
}

void PageWorker::Run() {
  for (;;) {
    const ThreadMessage message = queue_.Wait();
    if (message.id == kWorkerQuit) return;
    if (message.id != TM_APPLY) continue;
    if (!links_.AnyLinkOpen()) {
      if (no_link_) no_link_();
    } else if (apply_() == ApplyOutcome::kSendAgain) {
      Post(TM_APPLY);
    }
  }
}

}  // namespace ms1

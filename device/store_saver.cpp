#include "device/store_saver.h"

namespace ms1 {

StoreSaver::StoreSaver(PageModel& model, ProfileStoreWriter& writer)
    : model_(model), writer_(writer), thread_([this] { Run(); }) {}

StoreSaver::~StoreSaver() {
  Finish();
}

void StoreSaver::Request() {
  {
    std::lock_guard lock(mutex_);
    if (finishing_) return;
    requested_ = true;
  }
  wake_.notify_one();
}

void StoreSaver::Finish() {
  {
    std::lock_guard lock(mutex_);
    if (finishing_) return;
    finishing_ = true;
  }
  wake_.notify_one();
  thread_.join();
  model_.SaveStoreIfChanged(writer_);
}

void StoreSaver::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return requested_ || finishing_; });
    if (!requested_) return;
    requested_ = false;
    lock.unlock();
    model_.SaveStoreIfChanged(writer_);
    lock.lock();
  }
}

}  // namespace ms1

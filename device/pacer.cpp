#include "device/pacer.h"

namespace ms1 {

void RealPacer::Pause(std::chrono::milliseconds duration) {
  const auto deadline = Now() + duration;
  std::unique_lock lock(mutex_);
  stopped_changed_.wait_until(lock, deadline, [this] { return stopped_; });
}

std::chrono::steady_clock::time_point RealPacer::Now() const {
  return std::chrono::steady_clock::now();
}

void RealPacer::Stop() {
  std::lock_guard lock(mutex_);
  stopped_ = true;
  stopped_changed_.notify_all();
}

}  // namespace ms1

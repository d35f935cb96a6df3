// A one-shot signal between test threads. Waits have a generous limit that is
// only a safety net against a hung test, never a means of synchronisation.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace ms1::test {

class Signal {
 public:
  void Raise() {
    {
      std::lock_guard lock(mutex_);
      raised_ = true;
    }
    cv_.notify_all();
  }
  bool Wait(std::chrono::seconds limit = std::chrono::seconds(60)) {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, limit, [this] { return raised_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool raised_ = false;
};

}  // namespace ms1::test

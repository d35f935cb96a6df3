// A window handle that notes when each message was posted, so that the time
// from an injected key to its message can be taken.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <vector>

#include "libs/abi/ms1_window_handle.h"

namespace ms1::bench {

using Clock = std::chrono::steady_clock;

class TimedWindow {
 public:
  Ms1WindowHandle Handle() { return {this, &TimedWindow::Post}; }

  std::size_t Count() {
    std::lock_guard lock(mutex_);
    return posted_.size();
  }

  // When message number `index` (from 0) was posted; none if it did not come
  // within `limit`.
  std::optional<Clock::time_point> WaitForMessage(std::size_t index, Clock::duration limit) {
    std::unique_lock lock(mutex_);
    if (!arrived_.wait_for(lock, limit, [&] { return posted_.size() > index; })) {
      return std::nullopt;
    }
    return posted_[index];
  }

 private:
  static void Post(void* context, uint32_t, uintptr_t, intptr_t) {
    auto* self = static_cast<TimedWindow*>(context);
    {
      std::lock_guard lock(self->mutex_);
      self->posted_.push_back(Clock::now());
    }
    self->arrived_.notify_all();
  }

  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<Clock::time_point> posted_;
};

}  // namespace ms1::bench

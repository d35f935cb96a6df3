// A window handle for driver library tests: records every posted message and
// lets a test wait for one without sleeping.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "libs/abi/ms1_feature_driver.h"

namespace ms1::test {

struct PostedMessage {
  uint32_t message;
  uintptr_t w_param;
  intptr_t l_param;
  bool operator==(const PostedMessage&) const = default;
};

class TestWindow {
 public:
  Ms1WindowHandle Handle() { return {this, &TestWindow::Post}; }

  std::vector<PostedMessage> Messages() {
    std::lock_guard lock(mutex_);
    return messages_;
  }

  // Waits (60 s at most, as a safety net) until a posted message matches.
  bool WaitFor(const std::function<bool(const PostedMessage&)>& match) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(60), [&] {
      for (const PostedMessage& m : messages_) {
        if (match(m)) return true;
      }
      return false;
    });
  }
  bool WaitFor(PostedMessage expected) {
    return WaitFor([&](const PostedMessage& m) { return m == expected; });
  }
  // Waits until `count` messages have been posted in all.
  bool WaitForCount(std::size_t count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(60),
                             [&] { return messages_.size() >= count; });
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    messages_.clear();
  }

 private:
  static void Post(void* context, uint32_t message, uintptr_t w_param, intptr_t l_param) {
    auto* self = static_cast<TestWindow*>(context);
    {
      std::lock_guard lock(self->mutex_);
      self->messages_.push_back({message, w_param, l_param});
    }
    self->changed_.notify_all();
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<PostedMessage> messages_;
};

}  // namespace ms1::test

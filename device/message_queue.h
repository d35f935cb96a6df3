// A small blocking queue of thread messages, standing in for a thread's own
// message queue: any thread posts, one thread waits for the next message.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

namespace ms1 {

struct ThreadMessage {
  uint32_t id = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
};

class MessageQueue {
 public:
  void Post(const ThreadMessage& message) {
    {
      std::lock_guard lock(mutex_);
      messages_.push_back(message);
    }
    ready_.notify_one();
  }

  // Posts unless a message with the same id waits already; false when it did.
  bool PostUnlessWaiting(const ThreadMessage& message) {
    {
      std::lock_guard lock(mutex_);
      for (const ThreadMessage& waiting : messages_) {
        if (waiting.id == message.id) return false;
      }
      messages_.push_back(message);
    }
    ready_.notify_one();
    return true;
  }

  // Blocks until a message is there; messages come out in posting order.
  ThreadMessage Wait() {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [this] { return !messages_.empty(); });
    ThreadMessage message = messages_.front();
    messages_.pop_front();
    return message;
  }

  // As Wait, but gives up after `limit`.
  std::optional<ThreadMessage> WaitFor(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    if (!ready_.wait_for(lock, limit, [this] { return !messages_.empty(); })) return std::nullopt;
    ThreadMessage message = messages_.front();
    messages_.pop_front();
    return message;
  }

  std::size_t Size() const {
    std::lock_guard lock(mutex_);
    return messages_.size();
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<ThreadMessage> messages_;
};

}  // namespace ms1

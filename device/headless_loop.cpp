#include "device/headless_loop.h"

#include <algorithm>

namespace ms1 {

void HeadlessLoop::PostFromLibrary(void* context, uint32_t message, uintptr_t wParam,
                                   intptr_t lParam) {
  static_cast<HeadlessLoop*>(context)->PostToWindow(message, wParam, lParam);
}

void HeadlessLoop::Push(Item item) {
  {
    std::lock_guard lock(mutex_);
    items_.push_back(std::move(item));
  }
  ready_.notify_all();
}

void HeadlessLoop::PostToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  Push({{message, wParam, lParam}, nullptr});
}

void HeadlessLoop::RunOnInterfaceThread(std::function<void()> work) {
  Push({{}, std::move(work)});
}

void HeadlessLoop::RunLater(std::chrono::milliseconds delay, std::function<void()> work) {
  {
    std::lock_guard lock(mutex_);
    later_.emplace(std::chrono::steady_clock::now() + delay, std::move(work));
  }
  ready_.notify_all();
}

void HeadlessLoop::Quit() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  ready_.notify_all();
}

bool HeadlessLoop::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (done()) return true;
    Item item;
    {
      std::unique_lock lock(mutex_);
      for (;;) {
        const auto now = std::chrono::steady_clock::now();
        while (!later_.empty() && later_.begin()->first <= now) {
          items_.push_back({{}, std::move(later_.begin()->second)});
          later_.erase(later_.begin());
        }
        if (quit_ || !items_.empty() || now >= deadline) break;
        const auto wake = later_.empty() ? deadline : std::min(deadline, later_.begin()->first);
        ready_.wait_until(lock, wake);
      }
      if (quit_ || items_.empty()) break;
      item = std::move(items_.front());
      items_.pop_front();
    }
    // Outside the lock: a handler may post again.
    if (item.work) {
      item.work();
    } else if (handler_) {
      handler_(item.message);
    }
  }
  return done();
}

}  // namespace ms1

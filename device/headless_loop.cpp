#include "device/headless_loop.h"

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

void HeadlessLoop::ShowApplyProgress(bool visible) {
  if (visible) return;
  {
    std::lock_guard lock(mutex_);
    ++applies_finished_;
  }
  ready_.notify_all();
}

int HeadlessLoop::AppliesFinished() const {
  std::lock_guard lock(mutex_);
  return applies_finished_;
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
    // Read before `done` is tested, so an apply that finishes in between
    // still wakes the wait below.
    const int finished = AppliesFinished();
    if (done()) return true;
    Item item;
    {
      std::unique_lock lock(mutex_);
      const bool woken = ready_.wait_until(lock, deadline, [&] {
        return quit_ || !items_.empty() || applies_finished_ != finished;
      });
      if (quit_ || !woken) break;
      if (items_.empty()) continue;
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

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
      const bool woken = ready_.wait_until(lock, deadline, [&] {
        return quit_ || !items_.empty();
      });
      if (quit_ || !woken) break;
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

// The window side that links and events need: posting to the main window,
// the window's timers, and running work on the interface thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace ms1 {

class LinkHost {
 public:
  virtual ~LinkHost() = default;
  virtual void PostToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  // Starting a running timer restarts it.
  virtual void StartTimer(int id, std::chrono::milliseconds period) = 0;
  virtual void StopTimer(int id) = 0;
  // Queues `work` to run on the interface thread, in call order. Safe from any thread.
  virtual void RunOnInterfaceThread(std::function<void()> work) = 0;
  // Runs `work` on the interface thread once `delay` has passed, without
  // holding that thread meanwhile. Interface thread.
  virtual void RunLater(std::chrono::milliseconds delay, std::function<void()> work) = 0;
};

}  // namespace ms1

// The interface thread of a program without a window (ms1ctl): the window
// handle the driver libraries post to, and a loop that runs on the caller's
// thread, handing each posted message to a handler and running queued work,
// in posting order, as the program's message loop does.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

#include "device/apply_engine.h"
#include "device/link_host.h"
#include "device/message_queue.h"
#include "libs/abi/ms1_feature_driver.h"

namespace ms1 {

class HeadlessLoop final : public LinkHost, public ApplyHost {
 public:
  using Handler = std::function<void(const ThreadMessage&)>;

  explicit HeadlessLoop(Handler handler) : handler_(std::move(handler)) {}

  Ms1WindowHandle Handle() { return {this, &HeadlessLoop::PostFromLibrary}; }

  static constexpr std::chrono::milliseconds kForever = std::chrono::hours(24 * 365);

  // Handles messages and work until `done` holds (tested after each one),
  // Quit() is called, or `limit` has passed. Returns whether `done` holds.
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
  // Ends the running RunUntil, and every later one at once. Any thread.
  void Quit();

  // LinkHost
  void PostToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  // There is no window timer here: the heartbeat only hides an icon.
  void StartTimer(int, std::chrono::milliseconds) override {}
  void StopTimer(int) override {}
  void RunOnInterfaceThread(std::function<void()> work) override;
  void RunLater(std::chrono::milliseconds delay, std::function<void()> work) override;

  // ApplyHost: nothing to show.
  void StopHeartbeat() override {}
  void StartHeartbeat(std::chrono::milliseconds) override {}
  void ShowApplyProgress(bool) override {}
  void ShowUnsentEdits(bool) override {}

 private:
  struct Item {
    ThreadMessage message;
    std::function<void()> work;  // set for work items
  };
  static void PostFromLibrary(void* context, uint32_t message, uintptr_t wParam, intptr_t lParam);
  void Push(Item item);

  Handler handler_;
  mutable std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Item> items_;
  // Work waiting for its time, in time order; queued as items once due.
  std::multimap<std::chrono::steady_clock::time_point, std::function<void()>> later_;
  bool quit_ = false;
};

}  // namespace ms1

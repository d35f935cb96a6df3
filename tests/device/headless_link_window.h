// A window handle for tests that drive the transport without a session: the
// link fields the transport relies on (acknowledgement, receiver awake, link
// removed) are updated at once, on whichever thread the library posts.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "device/link_state.h"
#include "libs/abi/ms1_feature_driver.h"

namespace ms1 {

class HeadlessLinkWindow {
 public:
  explicit HeadlessLinkWindow(LinkState& links) : links_(links) {}

  Ms1WindowHandle Handle() { return {this, &HeadlessLinkWindow::Post}; }

  // Blocks until `done` holds, checked now and after each message, or until
  // the limit has passed. Returns whether it holds.
  bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

 private:
  static void Post(void* context, uint32_t message, uintptr_t wParam, intptr_t lParam);
  void Track(uint32_t message, uintptr_t wParam, intptr_t lParam);

  LinkState& links_;
  std::mutex mutex_;
  std::condition_variable changed_;
};

}  // namespace ms1

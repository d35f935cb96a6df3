// Decides, at the moment of posting, whether an event reaches the program's
// window, and posts it. The decision and the post happen under one lock, so a
// caller that closes the gate knows that no post is under way once it returns.
#pragma once

#include <mutex>
#include <optional>

#include "libs/abi/ms1_window_handle.h"
#include "libs/inputhook/hook_event.h"

namespace ms1::inputhook {

class EventGate {
 public:
  void SetWindow(std::optional<Ms1WindowHandle> window);
  void SetKeysEnabled(bool enabled);
  void SetMouseEnabled(bool enabled);

  // Keys pass with a window and keys enabled; mouse buttons need the mouse
  // enabled as well.
  void Post(const HookEvent& event);

 private:
  std::mutex mutex_;
  std::optional<Ms1WindowHandle> window_;
  bool keys_enabled_ = false;
  bool mouse_enabled_ = false;
};

}  // namespace ms1::inputhook

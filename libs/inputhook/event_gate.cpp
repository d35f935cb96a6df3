#include "libs/inputhook/event_gate.h"

#include "libs/abi/ms1_input_hook.h"

namespace ms1::inputhook {

void EventGate::SetWindow(std::optional<Ms1WindowHandle> window) {
  if (window && window->post == nullptr) window.reset();
  std::lock_guard lock(mutex_);
  window_ = window;
}

void EventGate::SetKeysEnabled(bool enabled) {
  std::lock_guard lock(mutex_);
  keys_enabled_ = enabled;
}

void EventGate::SetMouseEnabled(bool enabled) {
  std::lock_guard lock(mutex_);
  mouse_enabled_ = enabled;
}

void EventGate::Post(const HookEvent& event) {
  std::lock_guard lock(mutex_);
  if (!window_ || !keys_enabled_) return;
  if (event.mouse_button && !mouse_enabled_) return;
  window_->post(window_->context, MS1_HOOK_EVENT_MESSAGE, event.w_param, event.l_param);
}

}  // namespace ms1::inputhook

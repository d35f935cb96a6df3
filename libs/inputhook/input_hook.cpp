#include "libs/inputhook/input_hook.h"

namespace ms1::inputhook {

InputHook::~InputHook() { capture_.reset(); }

void InputHook::Install(Ms1WindowHandle window) {
  std::lock_guard lock(calls_);
  installed_ = window.post != nullptr;
  gate_.SetWindow(installed_ ? std::optional(window) : std::nullopt);
  StartOrStopCapture();
}

void InputHook::Remove() {
  std::lock_guard lock(calls_);
  installed_ = false;
  gate_.SetWindow(std::nullopt);
  StartOrStopCapture();
}

void InputHook::Enable(bool enabled) {
  std::lock_guard lock(calls_);
  enabled_ = enabled;
  gate_.SetKeysEnabled(enabled);
  StartOrStopCapture();
}

void InputHook::EnableMouse(bool enabled) { gate_.SetMouseEnabled(enabled); }

// The gate is closed before capture stops, so nothing is posted while the
// thread winds down; it is open before capture starts, so the first input
// already counts.
void InputHook::StartOrStopCapture() {
  const bool wanted = installed_ && enabled_;
  if (!wanted) {
    capture_.reset();
  } else if (capture_ == nullptr) {
    capture_ = Capture::Start([this](const HookEvent& event) { gate_.Post(event); });
  }
}

InputHook& TheInputHook() {
  static InputHook hook;
  return hook;
}

}  // namespace ms1::inputhook

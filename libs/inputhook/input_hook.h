// The state behind the seven entry points: which window is installed, which
// reports are enabled, and the capture that runs exactly while a window is
// installed and reports are enabled.
#pragma once

#include <memory>
#include <mutex>

#include "libs/abi/ms1_window_handle.h"
#include "libs/inputhook/capture.h"
#include "libs/inputhook/event_gate.h"

namespace ms1::inputhook {

class InputHook {
 public:
  InputHook() = default;
  // Ends capture: the library may be unloaded without removehook.
  ~InputHook();
  InputHook(const InputHook&) = delete;
  InputHook& operator=(const InputHook&) = delete;

  void Install(Ms1WindowHandle window);
  void Remove();
  void Enable(bool enabled);
  void EnableMouse(bool enabled);

 private:
  void StartOrStopCapture();

  std::mutex calls_;  // one entry point at a time
  EventGate gate_;
  bool installed_ = false;
  bool enabled_ = false;
  std::unique_ptr<Capture> capture_;
};

// The one hook of this library.
InputHook& TheInputHook();

}  // namespace ms1::inputhook

// Global capture of keys and mouse buttons on a thread of its own. The thread
// sleeps in poll() on the recorded stream, the control connection and a stop
// event: it wakes for input, layout changes and a stop, never on a timer.
#pragma once

#include <functional>
#include <memory>
#include <thread>

#include "libs/common/wake_event.h"
#include "libs/inputhook/hook_event.h"
#include "libs/inputhook/record_session.h"

namespace ms1::inputhook {

// The capture thread's name, as /proc shows it.
inline constexpr char kCaptureThreadName[] = "ms1 input hook";

struct CaptureOptions {
  // Off only to measure what the nudge is good for (see flush_nudge.h).
  bool nudge_flush = true;
};

class Capture {
 public:
  using Sink = std::function<void(const HookEvent&)>;

  // Starts capture and returns once the server records: input it processes
  // from then on reaches `sink`, on the capture thread. Null when capture
  // cannot work here (no display, no RECORD).
  static std::unique_ptr<Capture> Start(Sink sink, CaptureOptions options = {});

  // Stops the thread and waits for it.
  ~Capture();
  Capture(const Capture&) = delete;
  Capture& operator=(const Capture&) = delete;

 private:
  Capture(std::unique_ptr<RecordSession> session, Sink sink, CaptureOptions options);
  void Run();

  std::unique_ptr<RecordSession> session_;
  Sink sink_;
  CaptureOptions options_;
  WakeEvent stop_;
  std::thread thread_;
};

}  // namespace ms1::inputhook

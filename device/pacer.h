// The transport's fixed pauses go through a Pacer, so that the program sleeps
// for real while tests record the pauses (and run hooks at them) instantly.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace ms1 {

class Pacer {
 public:
  virtual ~Pacer() = default;
  // Blocks the calling thread for the given time.
  virtual void Pause(std::chrono::milliseconds duration) = 0;
  virtual std::chrono::steady_clock::time_point Now() const = 0;
};

// Sleeps until a deadline on the monotonic clock, so an interrupted or early
// wake-up never shortens a pause the mouse relies on; only Stop does.
class RealPacer final : public Pacer {
 public:
  void Pause(std::chrono::milliseconds duration) override;
  std::chrono::steady_clock::time_point Now() const override;

  // Ends the pauses under way and makes later ones return at once: once the
  // session stops, nothing is waiting for the mouse any more. Any thread.
  void Stop();

 private:
  std::mutex mutex_;
  std::condition_variable stopped_changed_;
  bool stopped_ = false;
};

}  // namespace ms1

#include "device/pacer.h"

#include <thread>

namespace ms1 {

void RealPacer::Pause(std::chrono::milliseconds duration) {
  const auto deadline = Now() + duration;
  while (Now() < deadline) std::this_thread::sleep_until(deadline);
}

std::chrono::steady_clock::time_point RealPacer::Now() const {
  return std::chrono::steady_clock::now();
}

}  // namespace ms1

#include "macro/recorder_memory.h"

#include <chrono>

namespace ms1 {

RecorderMemory& ProcessRecorderMemory() {
  static RecorderMemory memory;
  return memory;
}

uint32_t SteadyTickMs() {
  const auto since_epoch = std::chrono::steady_clock::now().time_since_epoch();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count();
  return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

}  // namespace ms1

#include "bench/soak_driver/memory_use.h"

#include <fstream>
#include <string>

namespace ms1::soak {

MemoryUse ReadMemoryUse() {
  MemoryUse use;
  std::ifstream rollup("/proc/self/smaps_rollup");
  std::string key;
  long kb = 0;
  std::string unit;
  while (rollup >> key) {
    if (key == "Rss:" && rollup >> kb >> unit) use.rss_kb = kb;
    if (key == "Pss:" && rollup >> kb >> unit) use.pss_kb = kb;
  }
  return use;
}

}  // namespace ms1::soak

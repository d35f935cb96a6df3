// This process's resident memory, as the kernel accounts it.
#pragma once

namespace ms1::soak {

struct MemoryUse {
  long rss_kb = -1;  // resident set
  long pss_kb = -1;  // proportional share: shared pages split among their users
};

// From /proc/self/smaps_rollup; -1 for a figure that cannot be read.
MemoryUse ReadMemoryUse();

}  // namespace ms1::soak

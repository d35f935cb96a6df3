#include "thread_wakeups.h"

#include <fstream>
#include <string>

namespace ms1::bench {

long ContextSwitches(pid_t thread_id) {
  std::ifstream status("/proc/self/task/" + std::to_string(thread_id) + "/status");
  long total = 0;
  for (std::string line; std::getline(status, line);) {
    const auto colon = line.find(':');
    if (colon != std::string::npos && line.find("ctxt_switches") != std::string::npos) {
      total += std::stol(line.substr(colon + 1));
    }
  }
  return total;
}

}  // namespace ms1::bench

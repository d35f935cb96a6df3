#include "thread_wakeups.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace ms1::bench {

std::set<pid_t> ThreadIds() {
  std::set<pid_t> ids;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
    ids.insert(static_cast<pid_t>(std::stol(entry.path().filename().string())));
  }
  return ids;
}

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

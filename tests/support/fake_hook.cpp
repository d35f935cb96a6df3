#include "support/fake_hook.h"

#include <mutex>
#include <utility>

namespace {
std::mutex log_mutex;
std::vector<std::string> hook_log;
}  // namespace

extern "C" __attribute__((visibility("default"))) void ms1_fake_hook_record(const char* line) {
  std::lock_guard lock(log_mutex);
  hook_log.emplace_back(line);
}

namespace ms1::test {

std::vector<std::string> TakeHookLog() {
  std::lock_guard lock(log_mutex);
  return std::exchange(hook_log, {});
}

}  // namespace ms1::test

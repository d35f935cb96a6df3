#include "support/fake_hook.h"

#include <mutex>
#include <utility>

namespace {
std::mutex log_mutex;
std::vector<std::string> hook_log, driver_log;

void Record(std::vector<std::string>& log, const char* line) {
  std::lock_guard lock(log_mutex);
  log.emplace_back(line);
}
std::vector<std::string> Take(std::vector<std::string>& log) {
  std::lock_guard lock(log_mutex);
  return std::exchange(log, {});
}
}  // namespace

// Called by the stand-in libraries; resolved from the test program.
extern "C" __attribute__((visibility("default"))) void ms1_fake_hook_record(const char* line) {
  Record(hook_log, line);
}
extern "C" __attribute__((visibility("default"))) void ms1_fake_driver_record(const char* line) {
  Record(driver_log, line);
}

namespace ms1::test {

std::vector<std::string> TakeHookLog() {
  return Take(hook_log);
}
std::vector<std::string> TakeDriverLog() {
  return Take(driver_log);
}
std::size_t DriverLogSize() {
  std::lock_guard lock(log_mutex);
  return driver_log.size();
}

}  // namespace ms1::test

#include "device/trace_output.h"

#include <atomic>
#include <cstdarg>

namespace ms1 {

namespace {
std::atomic<std::FILE*> trace_output{stdout};
}  // namespace

void SetTraceOutput(std::FILE* out) {
  trace_output.store(out);
}

void Trace(const char* format, ...) {
  std::FILE* out = trace_output.load();
  if (out == nullptr) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(out, format, args);
  va_end(args);
  std::fflush(out);
}

}  // namespace ms1

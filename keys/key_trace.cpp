#include "keys/key_trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ms1 {

bool KeyTracesWanted() {
  const char* value = std::getenv("MS1_TRACE_KEYS");
  return value != nullptr && std::strcmp(value, "1") == 0;
}

void TraceKey(const char* format, ...) {
  if (!KeyTracesWanted()) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
}

}  // namespace ms1

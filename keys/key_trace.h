// Traces that name the keys a user pressed. Standard error ends up in the
// journal, so they are written only when asked for: MS1_TRACE_KEYS=1.
#pragma once

namespace ms1 {

bool KeyTracesWanted();

void TraceKey(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace ms1

// Where the fixed diagnostic traces of the Bluetooth LE link go: standard
// output in the program, as designed; ms1ctl, whose standard output is its
// answer, turns them off. The traces' texts stay as they are.
#pragma once

#include <cstdio>

namespace ms1 {

// nullptr: no traces. Set before the links start.
void SetTraceOutput(std::FILE* out);

void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace ms1

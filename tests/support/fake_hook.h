// What the tests see of the stand-in input hook library: the calls it made, in
// order (it finds the recording function in the test program, which must
// export its symbols), and how much of it a table has bound.
#pragma once

#include <string>
#include <vector>

#include "device/driver/input_hook_table.h"

namespace ms1::test {

// Returns the calls recorded since the last take and clears them.
std::vector<std::string> TakeHookLog();

// How many of the seven entry points are bound.
inline int BoundEntryPoints(const InputHookTable& t) {
  return (t.installmousehook != nullptr) + (t.removemousehook != nullptr) +
         (t.enablemousehook != nullptr) + (t.installhook != nullptr) + (t.removehook != nullptr) +
         (t.enablehook != nullptr) + (t.mousewheelenable != nullptr);
}

}  // namespace ms1::test

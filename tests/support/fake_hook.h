// What the tests see of the stand-in input hook and driver libraries: the
// calls they made, in order (they find the recording functions in the test
// program, which must export its symbols), and how much of the hook a table
// has bound.
#pragma once

#include <string>
#include <vector>

#include "device/driver/input_hook_table.h"

namespace ms1::test {

// Return the calls recorded since the last take and clear them.
std::vector<std::string> TakeHookLog();
std::vector<std::string> TakeDriverLog();
std::size_t DriverLogSize();  // without taking

// How many of the seven entry points are bound.
inline int BoundEntryPoints(const InputHookTable& t) {
  return (t.installmousehook != nullptr) + (t.removemousehook != nullptr) +
         (t.enablemousehook != nullptr) + (t.installhook != nullptr) + (t.removehook != nullptr) +
         (t.enablehook != nullptr) + (t.mousewheelenable != nullptr);
}

}  // namespace ms1::test

// The calls the stand-in input hook library made, in order. The library finds
// the recording function in the test program, which must export its symbols.
#pragma once

#include <string>
#include <vector>

namespace ms1::test {

// Returns the calls recorded since the last take and clears them.
std::vector<std::string> TakeHookLog();

}  // namespace ms1::test

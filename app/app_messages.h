// Private messages of the application shell beyond the shared table.
#pragma once

#include <cstdint>

namespace ms1::msg {

// Result of a profile-store save, from any thread: wParam 1 saved, 0 failed.
// The number is unused by the drivers, the hook and the shared table.
inline constexpr uint32_t kStoreSaveResult = 1140;

}  // namespace ms1::msg

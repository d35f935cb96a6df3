// The name a running copy is known by (its lock, its socket, its window class).
#pragma once

namespace ms1 {
inline constexpr char kInstanceName[] =
    "Velmar KTQ9ZWRX mouse ";  // the trailing blank belongs to it
}

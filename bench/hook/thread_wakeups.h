// Counts how often a thread of this process was switched out (each time it
// went to sleep or was preempted), from /proc/self/task/<id>/status.
#pragma once

#include <sys/types.h>

namespace ms1::bench {

// Voluntary plus involuntary context switches of the thread so far.
long ContextSwitches(pid_t thread_id);

}  // namespace ms1::bench

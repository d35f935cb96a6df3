// Test helper: waiting for a process to end without polling. A pidfd becomes
// readable when its process exits, whether or not it is our child (the
// simulator starts detached).
#pragma once

#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

namespace ms1::test {

class ProcessExitWatch {
 public:
  // Through syscall(): glibc 2.36's <sys/pidfd.h> declares pidfd_open
  // without C linkage, so C++ cannot link against it.
  explicit ProcessExitWatch(int pid)
      : fd_(pid > 0 ? static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)) : -1) {}
  ~ProcessExitWatch() {
    if (fd_ >= 0) ::close(fd_);
  }
  ProcessExitWatch(const ProcessExitWatch&) = delete;
  ProcessExitWatch& operator=(const ProcessExitWatch&) = delete;

  // False when the process was gone already (or never was).
  bool Watching() const { return fd_ >= 0; }

  // True once the process has exited, at once when there is none to watch;
  // false when it still runs after `limit_ms`.
  bool WaitForExit(int limit_ms) const {
    if (fd_ < 0) return true;
    pollfd p{fd_, POLLIN, 0};
    for (;;) {
      const int ready = ::poll(&p, 1, limit_ms);
      if (ready < 0 && errno == EINTR) continue;
      return ready == 1;
    }
  }

 private:
  int fd_;
};

}  // namespace ms1::test

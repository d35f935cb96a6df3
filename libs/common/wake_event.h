// Wakes a thread that sleeps in poll(), so it can be stopped without any
// periodic checking.
#pragma once

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace ms1 {

class WakeEvent {
 public:
  WakeEvent() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
  ~WakeEvent() {
    if (fd_ >= 0) ::close(fd_);
  }
  WakeEvent(const WakeEvent&) = delete;
  WakeEvent& operator=(const WakeEvent&) = delete;

  bool Valid() const { return fd_ >= 0; }
  void Signal() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(fd_, &one, sizeof one);
  }
  pollfd PollEntry() const { return {fd_, POLLIN, 0}; }

 private:
  int fd_;
};

}  // namespace ms1

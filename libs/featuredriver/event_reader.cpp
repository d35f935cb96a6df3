#include "libs/featuredriver/event_reader.h"

#include <fcntl.h>

#include <cerrno>

namespace ms1::hiddriver {

namespace {
constexpr std::size_t kMaxInputReport = 64;
}

bool EventReader::Start(const std::string& device_node, OnEvent on_event) {
  const int fd = ::open(device_node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  return StartOnDescriptor(fd, std::move(on_event));
}

bool EventReader::StartOnDescriptor(int fd, OnEvent on_event) {
  Stop();
  wake_ = std::make_unique<WakeEvent>();
  if (!wake_->Valid()) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  on_event_ = std::move(on_event);
  thread_ = std::thread([this] { Loop(); });
  return true;
}

void EventReader::Stop() {
  if (thread_.joinable()) {
    wake_->Signal();
    thread_.join();
  }
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  wake_.reset();
}

void EventReader::Loop() {
  uint8_t report[kMaxInputReport];
  for (;;) {
    pollfd fds[2] = {wake_->PollEntry(), {fd_, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[0].revents) return;
    if (fds[1].revents & POLLIN) {
      const ssize_t n = ::read(fd_, report, sizeof report);
      if (n > 0) {
        if (const auto e = ParseEventReport(report, static_cast<std::size_t>(n))) on_event_(*e);
        continue;
      }
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      return;  // end of file: the device is gone
    }
    if (fds[1].revents & (POLLERR | POLLHUP | POLLNVAL)) return;
  }
}

}  // namespace ms1::hiddriver

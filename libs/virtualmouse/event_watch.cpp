#include "libs/virtualmouse/event_watch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

namespace ms1::vmouse {

bool EventWatch::Start(std::unique_ptr<LineConnection> connection, Link link, PostTarget target) {
  Stop();
  const nlohmann::json reply = connection->Request(std::string("watch ") + LinkName(link));
  if (!reply.is_object() || !reply.value("ok", false)) return false;
  plugged_ = reply.value("plugged", false);
  wake_fd_ = ::eventfd(0, EFD_CLOEXEC);
  if (wake_fd_ < 0) return false;
  connection_ = std::move(connection);
  target_ = target;
  thread_ = std::thread([this] { Loop(); });
  return true;
}

void EventWatch::Stop() {
  if (thread_.joinable()) {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wake_fd_, &one, sizeof one);
    thread_.join();
  }
  if (wake_fd_ >= 0) ::close(wake_fd_);
  wake_fd_ = -1;
  connection_.reset();
}

void EventWatch::Dispatch(const std::string& line) {
  const nlohmann::json e = nlohmann::json::parse(line, nullptr, false);
  if (!e.is_object() || !target_.window.post) return;
  const std::string kind = e.value("event", "");
  const int value = e.value("value", 0);
  if (kind == "plug") {
    plugged_ = value != 0;
    target_.window.post(target_.window.context, target_.plug_message, plugged_ ? 1 : 0, 0);
  } else if (kind == "data") {
    const auto code = static_cast<uint16_t>(e.value("code", 0));
    target_.window.post(target_.window.context, target_.data_message, code,
                        static_cast<uint16_t>(value));
  }
}

void EventWatch::Loop() {
  for (;;) {
    pollfd fds[2] = {{wake_fd_, POLLIN, 0}, {connection_->fd(), POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[0].revents) return;
    if (!fds[1].revents) continue;
    const bool open = connection_->FillBuffer();
    std::string line;
    while (connection_->TakeBufferedLine(line)) Dispatch(line);
    if (!open) {
      // The simulator went away: to the program the mouse has vanished.
      if (plugged_ && target_.window.post) {
        target_.window.post(target_.window.context, target_.plug_message, 0, 0);
      }
      return;
    }
  }
}

}  // namespace ms1::vmouse

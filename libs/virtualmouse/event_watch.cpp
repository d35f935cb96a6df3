#include "libs/virtualmouse/event_watch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

namespace ms1::vmouse {

namespace {

std::unique_ptr<LineConnection> Subscribe(std::unique_ptr<LineConnection> connection,
                                          ConnectionMode link, bool& plugged) {
  if (!connection) return nullptr;
  const nlohmann::json reply = connection->Request(std::string("watch ") + LinkName(link));
  if (!reply.is_object() || !reply.value("ok", false)) return nullptr;
  plugged = reply.value("plugged", false);
  return connection;
}

}  // namespace

bool EventWatch::Start(std::unique_ptr<LineConnection> connection, ConnectionMode link,
                       PostTarget target) {
  Stop();
  connection = Subscribe(std::move(connection), link, plugged_);
  if (!connection) return false;
  wake_fd_ = ::eventfd(0, EFD_CLOEXEC);
  if (wake_fd_ < 0) return false;
  connection_ = std::move(connection);
  target_ = target;
  link_ = link;
  dir_ = InstanceDir();
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
  while (Follow()) {
    // The simulator went away: to the program the mouse has vanished.
    if (plugged_ && target_.window.post) {
      target_.window.post(target_.window.context, target_.plug_message, 0, 0);
    }
    plugged_ = false;
    connection_.reset();
    if (!AwaitSimulator()) return;
  }
}

bool EventWatch::Follow() {
  for (;;) {
    pollfd fds[2] = {{wake_fd_, POLLIN, 0}, {connection_->fd(), POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (fds[0].revents) return false;
    if (!fds[1].revents) continue;
    const bool open = connection_->FillBuffer();
    std::string line;
    while (connection_->TakeBufferedLine(line)) Dispatch(line);
    if (!open) return true;
  }
}

bool EventWatch::AwaitSimulator() {
  // Watching starts before the first look, so a simulator that appears in
  // between is not missed. It renames its socket into place once it listens.
  const int folder_fd = ::inotify_init1(IN_CLOEXEC);
  if (folder_fd >= 0) ::inotify_add_watch(folder_fd, dir_.c_str(), IN_CREATE | IN_MOVED_TO);
  bool back = false;
  while (!(back = Resubscribe())) {
    pollfd fds[2] = {{wake_fd_, POLLIN, 0}, {folder_fd, POLLIN, 0}};
    if (::poll(fds, folder_fd >= 0 ? 2 : 1, -1) < 0 && errno != EINTR) break;
    if (fds[0].revents) break;
    if (fds[1].revents) {
      char events[4096];
      [[maybe_unused]] const ssize_t n = ::read(folder_fd, events, sizeof events);
    }
  }
  if (folder_fd >= 0) ::close(folder_fd);
  return back;
}

bool EventWatch::Resubscribe() {
  connection_ = Subscribe(ConnectToSimulator(dir_), link_, plugged_);
  if (!connection_) return false;
  if (plugged_ && target_.window.post) {
    target_.window.post(target_.window.context, target_.plug_message, 1, 0);
  }
  return true;
}

}  // namespace ms1::vmouse

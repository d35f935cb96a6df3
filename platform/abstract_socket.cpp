#include "platform/abstract_socket.h"

#include <sys/time.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>

namespace ms1 {
namespace {

// The name follows a leading zero byte; the length counts only what is used,
// as Qt's local sockets do, so either side can be the other's peer.
socklen_t AbstractAddress(const std::string& name, sockaddr_un& address) {
  address = {};
  address.sun_family = AF_UNIX;
  const std::size_t size = std::min(name.size(), sizeof address.sun_path - 1);
  std::memcpy(address.sun_path + 1, name.data(), size);
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + size);
}

}  // namespace

int ListenAbstract(const std::string& name) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  sockaddr_un address;
  const socklen_t size = AbstractAddress(name, address);
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(fd, 8) != 0) {
    const int cause = errno;
    close(fd);
    errno = cause;
    return -1;
  }
  return fd;
}

int ConnectAbstract(const std::string& name, int timeoutMs) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  const timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  sockaddr_un address;
  const socklen_t size = AbstractAddress(name, address);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), size) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

bool PeerIsThisUser(int fd) {
  ucred peer{};
  socklen_t size = sizeof peer;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) return false;
  return peer.uid == geteuid();
}

std::string ReadLine(int fd, std::size_t limit) {
  std::string line;
  char c = 0;
  while (line.size() < limit) {
    const ssize_t got = read(fd, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    line.push_back(c);
    if (c == '\n') break;
  }
  return line;
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t wrote = send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

}  // namespace ms1

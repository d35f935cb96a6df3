// Test helper: a program started with a pipe it writes one line to (an
// address, "ready"), for daemons that say when they can be used.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/process.h"

namespace ms1::test {

// Starts argv with a pipe whose write end replaces "%FD%" in the arguments.
inline pid_t SpawnWithPipe(std::vector<std::string> argv, int& read_end) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return -1;
  const int inherited = ::fcntl(fds[1], F_DUPFD, 3);  // without close-on-exec
  for (std::string& arg : argv) {
    if (const auto at = arg.find("%FD%"); at != std::string::npos) {
      arg.replace(at, 4, std::to_string(inherited));
    }
  }
  const pid_t pid = Spawn(argv, {}, STDOUT_FILENO, STDERR_FILENO);
  ::close(inherited);
  ::close(fds[1]);
  read_end = fds[0];
  return pid;
}

// One line from the pipe, waiting at most a minute (a safety net only); the pipe is closed.
inline std::string ReadPipeLine(int fd) {
  std::string line;
  char c = 0;
  pollfd p{fd, POLLIN, 0};
  while (::poll(&p, 1, 60000) == 1 && ::read(fd, &c, 1) == 1 && c != '\n') line += c;
  ::close(fd);
  return line;
}

}  // namespace ms1::test

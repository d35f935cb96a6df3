// Test helper: programs started in the background, ended with a signal, and
// waited for. Spawn makes everything before it forks, since the child of a
// process with threads may not allocate.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/process_exit.h"

namespace ms1::test {

// Starts a program (found on PATH) with extra environment entries
// (NAME=VALUE, a later one overriding); its input is empty, its output goes
// to `outFd` and its errors to `errFd`, or nowhere.
inline pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env = {},
                   int outFd = -1, int errFd = -1) {
  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) environment.emplace_back(*e);
  for (const std::string& entry : env) {
    const std::string name = entry.substr(0, entry.find('=') + 1);
    std::erase_if(environment, [&](const std::string& e) { return e.starts_with(name); });
    environment.push_back(entry);
  }
  std::vector<char*> args, envp;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  for (std::string& e : environment) envp.push_back(e.data());
  args.push_back(nullptr);
  envp.push_back(nullptr);
  const int null_fd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(null_fd, 0);
    ::dup2(outFd >= 0 ? outFd : null_fd, 1);
    ::dup2(errFd >= 0 ? errFd : null_fd, 2);
    ::execvpe(args[0], args.data(), envp.data());
    ::_exit(127);
  }
  ::close(null_fd);
  return pid;
}

// Waits for a child with a safety timeout; -1 when it did not end in time
// (or was no child of ours).
inline int WaitExit(pid_t pid, int timeoutMs) {
  if (!ProcessExitWatch(pid).WaitForExit(timeoutMs)) return -1;
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Ends a child that is still running; nothing when it already ended.
inline void EndChild(pid_t pid, int signal_number = SIGKILL) {
  if (pid <= 0 || ::waitpid(pid, nullptr, WNOHANG) != 0) return;
  ::kill(pid, signal_number);
  ::waitpid(pid, nullptr, 0);
}

// A program whose standard output (and errors, when asked) is read line by
// line while it runs.
class RunningProgram {
 public:
  explicit RunningProgram(const std::vector<std::string>& argv, bool with_errors = false) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    pid_ = Spawn(argv, {}, fds[1], with_errors ? fds[1] : STDERR_FILENO);
    ::close(fds[1]);
    out_ = fds[0];
  }
  ~RunningProgram() {
    if (!ended_) EndChild(pid_);
    if (out_ >= 0) ::close(out_);
  }

  // The next line of output; empty when none came within the limit (a safety
  // net) or the program closed its output.
  std::string NextLine(std::chrono::seconds limit = std::chrono::seconds(60)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
      const auto newline = buffer_.find('\n');
      if (newline != std::string::npos) {
        std::string line = buffer_.substr(0, newline);
        buffer_.erase(0, newline + 1);
        return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return {};
      pollfd p{out_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return {};
      char chunk[512];
      const ssize_t n = ::read(out_, chunk, sizeof chunk);
      if (n <= 0) return {};
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }

  // The first line of output holding `text`; empty when none came.
  std::string LineWith(const std::string& text) {
    for (std::string line; !(line = NextLine()).empty();) {
      if (line.find(text) != std::string::npos) return line;
    }
    return {};
  }

  // Sends the signal and returns the exit code (128 + signal when killed by
  // it); signal 0 sends none and waits for the program to end by itself.
  int Signal(int signal_number) {
    ::kill(pid_, signal_number);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    ended_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  bool ended_ = false;
  std::string buffer_;
};

}  // namespace ms1::test

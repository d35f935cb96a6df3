#include "libs/virtualmouse/sim_connection.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace ms1::vmouse {

namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::string(value) : fallback;
}

bool IsExecutable(const std::string& path) {
  return ::access(path.c_str(), X_OK) == 0;
}

int RemainingMs(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

}  // namespace

std::string InstanceDir() {
  std::string dir = EnvOr("MS1_VMOUSE_DIR", "");
  if (!dir.empty()) return dir;
  const std::string runtime = EnvOr("XDG_RUNTIME_DIR", "");
  if (!runtime.empty()) {
    dir = runtime + "/ms1-vmouse";
    ::mkdir(dir.c_str(), 0700);
    return dir;
  }
  dir = "/tmp/ms1-vmouse-" + std::to_string(::getuid());
  ::mkdir(dir.c_str(), 0700);
  // In the folder shared by all users a folder of that name may be another
  // user's, planted to take the socket: it must be ours alone.
  struct stat info {};
  if (::lstat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() ||
      (info.st_mode & 0077) != 0) {
    std::fprintf(stderr,
                 "the virtual mouse's folder %s is not this user's alone; set MS1_VMOUSE_DIR or "
                 "XDG_RUNTIME_DIR\n",
                 dir.c_str());
    return {};
  }
  return dir;
}

std::string SocketPath(const std::string& dir) {
  return dir + "/ms1-vmouse.sock";
}
std::string LockPath(const std::string& dir) {
  return dir + "/ms1-vmouse.lock";
}
std::string LogPath(const std::string& dir) {
  return dir + "/ms1-vmouse.log";
}

LineConnection::~LineConnection() {
  if (fd_ >= 0) ::close(fd_);
}

bool LineConnection::WriteLine(const std::string& line) {
  std::string data = line + "\n";
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::send(fd_, data.data() + done, data.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool LineConnection::TakeBufferedLine(std::string& line) {
  const std::size_t end = buffer_.find('\n');
  if (end == std::string::npos) return false;
  line = buffer_.substr(0, end);
  buffer_.erase(0, end + 1);
  return true;
}

bool LineConnection::FillBuffer() {
  char chunk[4096];
  for (;;) {
    const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    buffer_.append(chunk, static_cast<std::size_t>(n));
    return true;
  }
}

bool LineConnection::ReadLine(std::string& line, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!TakeBufferedLine(line)) {
    pollfd p{fd_, POLLIN, 0};
    const int wait = timeout_ms < 0 ? -1 : RemainingMs(deadline);
    const int ready = ::poll(&p, 1, wait);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    if (!FillBuffer()) return false;
  }
  return true;
}

nlohmann::json LineConnection::Request(const std::string& line, int timeout_ms) {
  std::string reply;
  if (!WriteLine(line) || !ReadLine(reply, timeout_ms)) return nullptr;
  nlohmann::json parsed = nlohmann::json::parse(reply, nullptr, false);
  return parsed.is_discarded() ? nlohmann::json() : parsed;
}

std::unique_ptr<LineConnection> ConnectToSimulator(const std::string& dir) {
  if (dir.empty()) return nullptr;
  const std::string path = SocketPath(dir);
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return nullptr;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return nullptr;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<LineConnection>(fd);
}

bool StartSimulator(const std::string& executable, const std::string& dir) {
  if (!IsExecutable(executable)) return false;
  int ready[2];
  if (::pipe2(ready, O_CLOEXEC) != 0) return false;
  // Everything the children need is prepared before fork: a multi-threaded
  // caller may only make async-signal-safe calls in the child.
  const std::string dir_arg = "--dir=" + dir;
  const std::string log = LogPath(dir);
  constexpr int kReadyFd = 3;
  const std::string ready_arg = "--ready-fd=" + std::to_string(kReadyFd);
  std::vector<char*> argv = {const_cast<char*>(executable.c_str()),
                             const_cast<char*>(dir_arg.c_str()),
                             const_cast<char*>(ready_arg.c_str()), nullptr};
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(ready[0]);
    ::close(ready[1]);
    return false;
  }
  if (child == 0) {
    if (::fork() != 0) _exit(0);
    ::setsid();
    const int null_fd = ::open("/dev/null", O_RDONLY);
    const int log_fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (null_fd >= 0) ::dup2(null_fd, 0);
    if (log_fd >= 0) {
      ::dup2(log_fd, 1);
      ::dup2(log_fd, 2);
    }
    if (ready[1] == kReadyFd) {
      ::fcntl(kReadyFd, F_SETFD, 0);
    } else {
      ::dup2(ready[1], kReadyFd);
    }
    // Nothing else of the caller's (sockets, pipes of a test runner) may be
    // kept alive by a simulator that outlives it.
    ::close_range(kReadyFd + 1, ~0U, 0);
    ::execv(argv[0], argv.data());
    _exit(127);
  }
  ::close(ready[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  // The simulator writes one byte once it listens; EOF means it gave up or
  // found another instance already serving this folder.
  pollfd p{ready[0], POLLIN, 0};
  bool started = false;
  if (::poll(&p, 1, 10000) > 0) {
    char byte = 0;
    started = ::read(ready[0], &byte, 1) == 1;
  }
  ::close(ready[0]);
  return started;
}

std::unique_ptr<LineConnection> ConnectOrStart(const std::string& executable) {
  const std::string dir = InstanceDir();
  if (auto connection = ConnectToSimulator(dir)) return connection;
  if (dir.empty() || !IsExecutable(executable)) return nullptr;
  StartSimulator(executable, dir);
  // Two clients may start a simulator at the same moment; the loser exits
  // without listening, so the winner may need a moment longer.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  for (auto pause = std::chrono::milliseconds(1);; pause *= 2) {
    if (auto connection = ConnectToSimulator(dir)) return connection;
    if (std::chrono::steady_clock::now() >= deadline) return nullptr;
    std::this_thread::sleep_for(std::min(pause, std::chrono::milliseconds(200)));
  }
}

std::string FindSimulator(const std::string& beside_folder) {
  const std::string from_env = EnvOr("MS1_VMOUSE_SIM", "");
  if (!from_env.empty()) return from_env;
  for (const char* relative : {"/ms1-virtual-mouse", "/../virtual/ms1-virtual-mouse"}) {
    const std::string candidate = beside_folder + relative;
    if (IsExecutable(candidate)) return candidate;
  }
  return {};
}

}  // namespace ms1::vmouse

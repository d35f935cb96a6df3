#include "model/data_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <fstream>
#include <iterator>
#include <system_error>
#include <thread>

namespace ms1 {

namespace fs = std::filesystem;

namespace {

// Long enough to tell one command from another, short enough for a message.
constexpr std::size_t kMaxCommandLength = 200;

std::string ThisCommandLine() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  const std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string line;
  std::size_t start = 0;
  while (start < raw.size()) {
    std::size_t end = raw.find('\0', start);
    if (end == std::string::npos) end = raw.size();
    std::string arg = raw.substr(start, end - start);
    if (line.empty()) arg = fs::path(arg).filename().string();  // the program, not where it lies
    line += (line.empty() ? "" : " ") + arg;
    start = end + 1;
  }
  if (line.size() > kMaxCommandLength) line = line.substr(0, kMaxCommandLength) + "…";
  return line;
}

// Written after the lock is taken; a reader may find it empty for a moment.
void WriteHolderNote(int fd) {
  const std::string note = std::to_string(::getpid()) + "\n" + ThisCommandLine() + "\n";
  if (::ftruncate(fd, 0) != 0) return;
  // A note that cannot be written only leaves the holder unnamed.
  [[maybe_unused]] const ssize_t written = ::pwrite(fd, note.data(), note.size(), 0);
}

bool Runs(long pid) {
  return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

}  // namespace

fs::path DataFolderLock::LockPath(const fs::path& data_folder) {
  return data_folder / "ms1-config.lock";
}

DataFolderLock::Result DataFolderLock::TryTake(const fs::path& data_folder, std::string& error) {
  if (held()) return Result::kTaken;
  const fs::path path = LockPath(data_folder);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    error = path.string() + ": " + std::error_code(errno, std::generic_category()).message();
    return Result::kUnavailable;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int why = errno;
    ::close(fd);
    if (why == EWOULDBLOCK) return Result::kBusy;
    error = path.string() + ": " + std::error_code(why, std::generic_category()).message();
    return Result::kUnavailable;
  }
  fd_ = fd;
  WriteHolderNote(fd_);
  return Result::kTaken;
}

DataFolderLock::Result DataFolderLock::Take(const fs::path& data_folder,
                                            std::chrono::milliseconds limit, std::string& error) {
  // Holders other than the program are single commands that end within
  // moments; a short retry spares the program a wait of its own thread.
  constexpr std::chrono::milliseconds kRetry{25};
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const Result result = TryTake(data_folder, error);
    if (result != Result::kBusy || std::chrono::steady_clock::now() >= deadline) return result;
    std::this_thread::sleep_for(kRetry);
  }
}

void DataFolderLock::Release() {
  if (fd_ < 0) return;
  ::close(fd_);  // closing the only descriptor releases the lock
  fd_ = -1;
}

bool DataFolderLock::IsHeld(const fs::path& data_folder) {
  const int fd = ::open(LockPath(data_folder).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;  // no lock file: nobody ever held the folder
  const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

std::optional<LockHolder> DataFolderLock::HolderOf(const fs::path& data_folder) {
  std::ifstream in(LockPath(data_folder));
  LockHolder holder;
  if (!(in >> holder.pid) || !Runs(holder.pid)) return std::nullopt;
  in.ignore(1);
  std::getline(in, holder.command);
  if (holder.command.empty()) return std::nullopt;
  return holder;
}

std::string DescribeHolder(const std::optional<LockHolder>& holder, const std::string& unknown) {
  if (!holder) return unknown;
  return holder->command + " (process " + std::to_string(holder->pid) + ")";
}

}  // namespace ms1

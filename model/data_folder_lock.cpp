#include "model/data_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>

namespace ms1 {

namespace fs = std::filesystem;

fs::path DataFolderLock::LockPath(const fs::path& data_folder) {
  return data_folder / "ms1-config.lock";
}

DataFolderLock::Result DataFolderLock::TryTake(const fs::path& data_folder, std::string& error) {
  if (held()) return Result::kTaken;
  const fs::path path = LockPath(data_folder);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
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

}  // namespace ms1

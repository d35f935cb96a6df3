// One owner of the data folder. The running program holds this lock for its
// whole life, and every command that writes a store takes it for its own run,
// so no writer silently undoes another's work (the program rewrites the whole
// store at each save). It is an advisory lock on an open file: the system
// releases it when the holder ends, however it ends, so it never goes stale.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace ms1 {

class DataFolderLock {
 public:
  enum class Result {
    kTaken,
    kBusy,        // another process holds the folder
    kUnavailable  // the lock file cannot be made (a read-only folder, say)
  };

  DataFolderLock() = default;
  ~DataFolderLock() { Release(); }
  DataFolderLock(const DataFolderLock&) = delete;
  DataFolderLock& operator=(const DataFolderLock&) = delete;

  static std::filesystem::path LockPath(const std::filesystem::path& data_folder);

  // Tries once, without waiting. `error` says why on kUnavailable.
  Result TryTake(const std::filesystem::path& data_folder, std::string& error);

  // As TryTake, but lets a holder's short command end first, up to `limit`.
  Result Take(const std::filesystem::path& data_folder, std::chrono::milliseconds limit,
              std::string& error);

  bool held() const { return fd_ >= 0; }
  void Release();

 private:
  int fd_ = -1;
};

}  // namespace ms1

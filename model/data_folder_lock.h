// One owner of the data folder. The running program holds this lock for its
// whole life, and every command that writes a store takes it for its own run,
// so no writer silently undoes another's work (the program rewrites the whole
// store at each save). It is an advisory lock on an open file: the system
// releases it when the holder ends, however it ends, so it never goes stale.
// The holder writes its process id and command into the lock file, so that
// whoever finds the folder taken can say by whom.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace ms1 {

// Who holds a data folder, as its lock file says.
struct LockHolder {
  long pid = 0;
  std::string command;  // its command line, arguments separated by blanks
};

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

  // Whether some process holds the folder now. Only looks: creates and writes
  // nothing, so reading commands may ask.
  static bool IsHeld(const std::filesystem::path& data_folder);

  // The holder the lock file names, when that process still runs; none when
  // the file names nobody (a holder of an older version, or one that has just
  // taken the lock and not yet written its name).
  static std::optional<LockHolder> HolderOf(const std::filesystem::path& data_folder);

 private:
  int fd_ = -1;
};

// How the holder of a folder is named when its lock file does not say.
inline constexpr const char* kUnknownHolder = "another copy of ms1ctl or the program";

// "ms1ctl profiles add Work (process 4711)"; `unknown` when there is no holder.
std::string DescribeHolder(const std::optional<LockHolder>& holder, const std::string& unknown);

}  // namespace ms1

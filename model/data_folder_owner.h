// This process's claim on its data folder. The lock alone does not keep the
// stores safe: a program that could not take it at start, or a store file
// replaced behind the lock's back, would still be overwritten by the next
// save. So while an owner lives, every save of a store in its folder
// (WriteStoreFile) first makes the folder this process's, taking the lock if
// it was busy until then, and checks that the file on disk is the version
// this process last read or wrote; any other version is kept aside first and
// the owner told. Without an owner a store save is a plain atomic write.
#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "model/atomic_file.h"
#include "model/data_folder_lock.h"
#include "model/file_stamp.h"

namespace ms1 {

class DataFolderOwner {
 public:
  // Runs on the saving thread, with store saves held back: it must not save.
  using KeptAsideCall = std::function<void(const std::filesystem::path& store_file,
                                           const std::filesystem::path& aside)>;

  explicit DataFolderOwner(std::filesystem::path data_folder);
  ~DataFolderOwner();
  DataFolderOwner(const DataFolderOwner&) = delete;
  DataFolderOwner& operator=(const DataFolderOwner&) = delete;

  // Takes the folder, letting a holder's short command end first (up to
  // `limit`). Once it is taken, whatever saves cut short by a crash left
  // behind is removed.
  DataFolderLock::Result Take(std::chrono::milliseconds limit, std::string& error);

  bool owned() const;

  // Told when a store file that was not this process's version was kept aside.
  void OnKeptAside(KeptAsideCall call);

 private:
  friend bool WriteStoreFile(const std::filesystem::path&, std::size_t,
                             const std::function<ByteView(std::size_t)>&, std::string&);
  friend void NoteStoreVersion(const std::filesystem::path&, const std::optional<FileStamp>&);
  friend void ForgetStoreVersion(const std::filesystem::path&, const std::optional<FileStamp>&);

  // The owner whose store folder holds store_file, if any; under OwnersMutex.
  static DataFolderOwner* OwnerOf(const std::filesystem::path& store_file);
  // Take, with OwnersMutex held.
  DataFolderLock::Result TakeLock(std::chrono::milliseconds limit, std::string& error);
  void RemoveLeftovers();
  // Each save asks again: the holder may have ended since.
  bool MakeOwned(std::string& error);
  // Keeps a version of store_file this process does not know aside.
  bool KeepStrangerAside(const std::filesystem::path& store_file, std::string& error);

  const std::filesystem::path folder_;
  const std::filesystem::path store_folder_;
  DataFolderLock lock_;
  // The version of each store file last read or written here; none: no file.
  std::map<std::filesystem::path, std::optional<FileStamp>> known_;
  KeptAsideCall kept_aside_;
};

// Writes a store file as WriteFileAtomically does, under the rules of the
// folder's owner when this process has one.
bool WriteStoreFile(const std::filesystem::path& store_file, std::size_t count,
                    const std::function<ByteView(std::size_t)>& piece, std::string& error);

// What a load found: the version read (none: there was no file), or that the
// version on disk cannot count as read (a damaged file left in place). Either
// counts only while that version is still on disk: a save of this process's
// that ended while the load was reading has recorded its own version, which a
// late word of the load must not replace.
void NoteStoreVersion(const std::filesystem::path& store_file,
                      const std::optional<FileStamp>& stamp);
void ForgetStoreVersion(const std::filesystem::path& store_file,
                        const std::optional<FileStamp>& stamp);

}  // namespace ms1

// What the profile store and the macro store share: where they live, reading
// them, and keeping a damaged one safe from the next save.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/file_stamp.h"

namespace ms1 {

// Both stores live in the folder "ms_1" of the data folder.
std::filesystem::path StoreFolder(const std::filesystem::path& data_folder);

// Creates the data folder and its store folder when they are missing, for the
// user alone (0700).
bool MakeStoreFolder(const std::filesystem::path& data_folder, std::string& error);

// Makes what an earlier version left with the usual modes the user's alone:
// the two folders 0700, the files in them 0600. Only what this user owns, and
// never through a link.
void MakeDataFolderPrivate(const std::filesystem::path& data_folder);

// Keeps the file at path, as it is, under a new name in the same folder
// ("pro.data.damaged", "pro.data.damaged_1", ... for the kind "damaged"), so
// that no later save of the store can destroy it. Sets aside to that name;
// false when nothing could be kept.
bool SetAside(const std::filesystem::path& path, std::filesystem::path& aside, std::string& error,
              std::string_view kind = "damaged");

// Whether loading a store may write to the folder: keep a damaged file aside,
// save a new store where there was none. Reading commands and a program that
// does not own its data folder read only.
enum class StoreAccess { kReadWrite, kReadOnly };

// The outcome of loading a store. The list is usable whatever happened; a
// problem is something the user should hear about.
struct StoreLoad {
  bool created = false;             // there was no usable store; a new one was made
  std::filesystem::path set_aside;  // where a damaged store was kept, when there was one
  std::string problem;              // empty when all went well

  bool ok() const { return problem.empty(); }
  void NoteProblem(const std::string& text);
};

// What the user is told after the stores were loaded: a language key whose
// text takes the arguments as %1, %2; no key when all went well.
struct StoreLoadNotice {
  std::string text_key;
  std::vector<std::string> args;
};
// "store_kept_aside_text" (%1 what went wrong, %2 where the damaged files
// were kept) when a file was kept aside, else "store_load_problem_text" (%1).
StoreLoadNotice NoticeOf(const std::vector<StoreLoad>& loads);

// A store file opened for loading. A file that exists but cannot be opened is
// noted as a problem and kept aside (read-write access only); a missing or
// empty file has no content. Once closed, the version read counts as this
// process's own for the folder's owner (data_folder_owner.h), unless it was
// damaged and left in place: that one must still be kept before a save.
class StoreReader {
 public:
  StoreReader(std::filesystem::path path, StoreLoad& load,
              StoreAccess access = StoreAccess::kReadWrite);
  ~StoreReader();
  StoreReader(const StoreReader&) = delete;
  StoreReader& operator=(const StoreReader&) = delete;

  bool has_content() const { return size_ > 0; }
  std::size_t size() const { return size_; }
  const std::filesystem::path& path() const { return path_; }

  // Reads exactly size bytes, retrying short reads. A read error is noted and
  // the file kept aside.
  bool Read(void* data, std::size_t size);

  // Notes that the file is damaged and keeps it aside (once).
  void KeepDamaged(const std::string& why);

 private:
  void KeepAside();

  std::filesystem::path path_;
  StoreLoad& load_;
  StoreAccess access_;
  int fd_ = -1;
  std::size_t size_ = 0;
  std::optional<FileStamp> stamp_;  // none: there was no file
  bool version_known_ = true;
  bool damaged_in_place_ = false;
};

}  // namespace ms1

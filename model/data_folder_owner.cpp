#include "model/data_folder_owner.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "model/macro_store.h"
#include "model/profile_store.h"
#include "model/store_file.h"

namespace ms1 {

namespace fs = std::filesystem;

namespace {

// One mutex for the list of owners and their state: saves come from the
// interface thread and the worker, and each save's check, write and note of
// the new version must not interleave with another's.
// Never destroyed: an owner that is itself a static may end after them.
std::mutex& OwnersMutex() {
  static auto* mutex = new std::mutex;
  return *mutex;
}

std::vector<DataFolderOwner*>& Owners() {
  static auto* owners = new std::vector<DataFolderOwner*>;
  return *owners;
}

// Saves and loads name the same folder in different spellings ("Data/",
// "./Data"); compared after this.
fs::path Normal(const fs::path& path) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  return (ec ? path : absolute).lexically_normal();
}

}  // namespace

DataFolderOwner::DataFolderOwner(fs::path data_folder)
    : folder_(std::move(data_folder)), store_folder_(Normal(StoreFolder(folder_))) {
  std::lock_guard guard(OwnersMutex());
  Owners().push_back(this);
}

DataFolderOwner::~DataFolderOwner() {
  std::lock_guard guard(OwnersMutex());
  std::erase(Owners(), this);
}

DataFolderLock::Result DataFolderOwner::Take(std::chrono::milliseconds limit, std::string& error) {
  std::lock_guard guard(OwnersMutex());
  return TakeLock(limit, error);
}

DataFolderLock::Result DataFolderOwner::TakeLock(std::chrono::milliseconds limit,
                                                 std::string& error) {
  const bool had_it = lock_.held();
  const DataFolderLock::Result result = lock_.Take(folder_, limit, error);
  if (!had_it && result == DataFolderLock::Result::kTaken) {
    RemoveLeftovers();
    MakeDataFolderPrivate(folder_);
  }
  return result;
}

bool DataFolderOwner::owned() const {
  std::lock_guard guard(OwnersMutex());
  return lock_.held();
}

void DataFolderOwner::OnKeptAside(KeptAsideCall call) {
  std::lock_guard guard(OwnersMutex());
  kept_aside_ = std::move(call);
}

void DataFolderOwner::RemoveLeftovers() {
  // Under the lock and before this process saves anything, every temporary
  // file beside a store is one whose writer died.
  RemoveLeftoverTemporaries(ProfileStorePath(folder_));
  RemoveLeftoverTemporaries(MacroStorePath(folder_));
}

bool DataFolderOwner::MakeOwned(std::string& error) {
  // A folder that cannot hold the lock file cannot hold a store either; the
  // write says why.
  std::string lock_error;
  if (TakeLock(std::chrono::milliseconds(0), lock_error) != DataFolderLock::Result::kBusy) {
    return true;
  }
  error = "the data folder " + folder_.string() + " is in use by " +
          DescribeHolder(DataFolderLock::HolderOf(folder_), kUnknownHolder) + "; nothing was saved";
  return false;
}

bool DataFolderOwner::KeepStrangerAside(const fs::path& store_file, std::string& error) {
  const std::optional<FileStamp> on_disk = StampOf(store_file);
  if (!on_disk) return true;  // nothing there to lose
  const auto known = known_.find(Normal(store_file));
  if (known != known_.end() && known->second == on_disk) return true;
  fs::path aside;
  if (!SetAside(store_file, aside, error, "changed")) return false;
  if (kept_aside_) kept_aside_(store_file, aside);
  return true;
}

DataFolderOwner* DataFolderOwner::OwnerOf(const fs::path& store_file) {
  const fs::path store_folder = Normal(store_file).parent_path();
  for (DataFolderOwner* owner : Owners()) {
    if (owner->store_folder_ == store_folder) return owner;
  }
  return nullptr;
}

bool WriteStoreFile(const fs::path& store_file, std::size_t count,
                    const std::function<ByteView(std::size_t)>& piece, std::string& error) {
  std::lock_guard guard(OwnersMutex());
  DataFolderOwner* owner = DataFolderOwner::OwnerOf(store_file);
  if (owner != nullptr &&
      (!owner->MakeOwned(error) || !owner->KeepStrangerAside(store_file, error))) {
    return false;
  }
  FileStamp written;
  if (!WriteFileAtomically(store_file, count, piece, error, kPrivateFileRules, &written)) {
    return false;
  }
  if (owner != nullptr) owner->known_[Normal(store_file)] = written;
  return true;
}

void NoteStoreVersion(const fs::path& store_file, const std::optional<FileStamp>& stamp) {
  std::lock_guard guard(OwnersMutex());
  DataFolderOwner* owner = DataFolderOwner::OwnerOf(store_file);
  if (owner != nullptr && StampOf(store_file) == stamp) owner->known_[Normal(store_file)] = stamp;
}

void ForgetStoreVersion(const fs::path& store_file, const std::optional<FileStamp>& stamp) {
  std::lock_guard guard(OwnersMutex());
  DataFolderOwner* owner = DataFolderOwner::OwnerOf(store_file);
  // A load that could not even stamp the file forgets whatever is there.
  if (owner != nullptr && (!stamp || StampOf(store_file) == stamp)) {
    owner->known_.erase(Normal(store_file));
  }
}

}  // namespace ms1

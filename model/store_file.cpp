#include "model/store_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "model/atomic_file.h"
#include "model/data_folder_owner.h"
#include "model/prefault.h"

namespace ms1 {

namespace fs = std::filesystem;

fs::path StoreFolder(const fs::path& data_folder) {
  return data_folder / "ms_1";
}

bool MakeStoreFolder(const fs::path& data_folder, std::string& error) {
  const fs::path folder = StoreFolder(data_folder);
  std::error_code ec;
  // The folders above are the user's own business; the two of the program
  // are the user's alone.
  if (!data_folder.parent_path().empty()) fs::create_directories(data_folder.parent_path(), ec);
  for (const fs::path& own : {data_folder, folder}) {
    if (::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST) {
      ec = std::error_code(errno, std::generic_category());
      break;
    }
  }
  if (ec || !fs::is_directory(folder)) {
    error = folder.string() + ": the folder cannot be created (" +
            (ec ? ec.message() : std::string("not a folder")) + ")";
    return false;
  }
  return true;
}

namespace {

void MakeOwnPrivate(const fs::path& path, bool folder) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || info.st_uid != ::geteuid()) return;
  if (folder ? S_ISDIR(info.st_mode) : S_ISREG(info.st_mode)) {
    ::chmod(path.c_str(), folder ? 0700 : 0600);
  }
}

fs::path FreeAsideName(const fs::path& path, std::string_view kind, unsigned n) {
  std::string name = path.filename().string() + "." + std::string(kind);
  if (n > 0) name += "_" + std::to_string(n);
  return path.parent_path() / name;
}

bool CopyFile(const fs::path& from, const fs::path& to, std::string& error) {
  std::ifstream in(from, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  if (in.bad() || !in.is_open()) return false;
  return WriteFileAtomically(to, {std::as_bytes(std::span(bytes))}, error, kPrivateFileRules);
}

}  // namespace

bool SetAside(const fs::path& path, fs::path& aside, std::string& error, std::string_view kind) {
  for (unsigned n = 0; n < 1000; ++n) {
    const fs::path candidate = FreeAsideName(path, kind, n);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(candidate, ec))) continue;
    // Saves never write into the store in place, so a second name for the same
    // file keeps its bytes for good. Where links are not supported, copy; where
    // the file cannot even be read, move it.
    if (::link(path.c_str(), candidate.c_str()) == 0 || CopyFile(path, candidate, error) ||
        ::rename(path.c_str(), candidate.c_str()) == 0) {
      aside = candidate;
      error.clear();
      return true;
    }
    if (errno == EEXIST) continue;
    error = path.string() + ": cannot be kept aside (" +
            std::error_code(errno, std::generic_category()).message() + ")";
    return false;
  }
  error = path.string() + ": cannot be kept aside (too many earlier copies)";
  return false;
}

void MakeDataFolderPrivate(const fs::path& data_folder) {
  MakeOwnPrivate(data_folder, true);
  MakeOwnPrivate(StoreFolder(data_folder), true);
  std::error_code ec;
  for (fs::directory_iterator it(data_folder, ec), end; !ec && it != end; it.increment(ec)) {
    MakeOwnPrivate(it->path(), false);
  }
  for (fs::directory_iterator it(StoreFolder(data_folder), ec), end; !ec && it != end;
       it.increment(ec)) {
    MakeOwnPrivate(it->path(), false);
  }
}

void StoreLoad::NoteProblem(const std::string& text) {
  if (!problem.empty()) problem += "; ";
  problem += text;
}

StoreLoadNotice NoticeOf(const std::vector<StoreLoad>& loads) {
  std::string problems, kept;
  for (const StoreLoad& load : loads) {
    if (!load.problem.empty()) problems += (problems.empty() ? "" : "; ") + load.problem;
    if (!load.set_aside.empty()) kept += (kept.empty() ? "" : ", ") + load.set_aside.string();
  }
  if (problems.empty() && kept.empty()) return {};
  if (kept.empty()) return {"store_load_problem_text", {problems}};
  return {"store_kept_aside_text", {problems, kept}};
}

StoreReader::StoreReader(fs::path path, StoreLoad& load, StoreAccess access)
    : path_(std::move(path)), load_(load), access_(access) {
  fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd_ < 0) {
    if (errno == ENOENT) return;
    const int why = errno;
    if (why == ELOOP) {
      // Not read, not kept aside: the link stays for the user to see.
      load_.NoteProblem(LinkRefusedText(path_));
      version_known_ = false;
      return;
    }
    stamp_ = StampOf(path_);
    version_known_ = stamp_.has_value();
    load_.NoteProblem(path_.string() + ": cannot be read (" +
                      std::error_code(why, std::generic_category()).message() + ")");
    KeepAside();
    return;
  }
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    version_known_ = false;
    return;
  }
  stamp_ = StampOf(info);
  if (info.st_size > 0) size_ = static_cast<std::size_t>(info.st_size);
}

StoreReader::~StoreReader() {
  if (fd_ >= 0) ::close(fd_);
  if (version_known_ && !damaged_in_place_) {
    NoteStoreVersion(path_, stamp_);
  } else {
    ForgetStoreVersion(path_, stamp_);
  }
}

bool StoreReader::Read(void* data, std::size_t size) {
  // Records are read into memory just allocated for them.
  PrefaultForWriting(data, size);
  auto* out = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t got = ::read(fd_, out, size);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      KeepDamaged("read error");
      return false;
    }
    out += got;
    size -= static_cast<std::size_t>(got);
  }
  return true;
}

void StoreReader::KeepDamaged(const std::string& why) {
  load_.NoteProblem(path_.string() + ": " + why);
  KeepAside();
}

void StoreReader::KeepAside() {
  if (!load_.set_aside.empty()) return;
  std::string error;
  if (access_ == StoreAccess::kReadOnly || !SetAside(path_, load_.set_aside, error)) {
    damaged_in_place_ = true;
  }
  if (!error.empty()) load_.NoteProblem(error);
}

}  // namespace ms1

#include "model/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <system_error>

namespace ms1 {

namespace fs = std::filesystem;

namespace {

std::atomic<WriteCall> g_write_call{&::write};
std::atomic<unsigned> g_temp_counter{0};

std::mutex& WriterMutex() {
  static std::mutex mutex;
  return mutex;
}

std::string ErrnoText(int error_number) {
  return std::error_code(error_number, std::generic_category()).message();
}

// The file a write to path really replaces: symbolic links are followed.
fs::path ResolveTarget(const fs::path& path) {
  fs::path target = path;
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(target, ec)) break;
    const fs::path link = fs::read_symlink(target, ec);
    if (ec) break;
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
  return target;
}

bool WriteAll(int fd, ByteView bytes, std::string& why) {
  const WriteCall write_call = g_write_call.load();
  const std::byte* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = write_call(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      why = ErrnoText(errno);
      return false;
    }
    if (written == 0) {  // no progress: the disk is full in all but name
      why = ErrnoText(ENOSPC);
      return false;
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  return true;
}

// Every temporary file of a write to target starts with this name.
std::string TemporaryPrefix(const fs::path& target) {
  return "." + target.filename().string() + ".tmp-";
}

int CreateTemporary(const fs::path& target, mode_t mode, fs::path& temp, std::string& why) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = target.parent_path() / (TemporaryPrefix(target) + std::to_string(::getpid()) + "-" +
                                   std::to_string(g_temp_counter.fetch_add(1)));
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0) return fd;
    if (errno != EEXIST) break;
  }
  why = ErrnoText(errno);
  return -1;
}

// The rename is durable only once the folder itself is on disk. A failure here
// cannot be undone any more and some file systems refuse to flush folders, so
// it is not reported.
void FlushFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

std::size_t RemoveLeftoverTemporaries(const fs::path& path) {
  const fs::path target = ResolveTarget(path);
  const std::string prefix = TemporaryPrefix(target);
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  std::size_t removed = 0;
  std::error_code ec;
  // Errors end the sweep quietly: what is left is only clutter, never data.
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code entry_ec;
    if (it->path().filename().string().starts_with(prefix) && it->is_regular_file(entry_ec) &&
        fs::remove(it->path(), entry_ec)) {
      ++removed;
    }
  }
  return removed;
}

WriteCall ReplaceWriteCallForTesting(WriteCall call) {
  return g_write_call.exchange(call ? call : &::write);
}

std::string LinkRefusedText(const fs::path& path) {
  return path.string() +
         ": is a symbolic link, which the program does not follow for its own files; put the "
         "file itself in its place";
}

bool WriteFileAtomically(const fs::path& path, std::span<const ByteView> pieces, std::string& error,
                         WriteRules rules) {
  return WriteFileAtomically(
      path, pieces.size(), [pieces](std::size_t n) { return pieces[n]; }, error, rules);
}

bool WriteFileAtomically(const fs::path& path, std::size_t count,
                         const std::function<ByteView(std::size_t)>& piece, std::string& error,
                         WriteRules rules, FileStamp* written) {
  std::lock_guard lock(WriterMutex());
  struct stat entry {};
  if (rules.refuse_links && ::lstat(path.c_str(), &entry) == 0 && S_ISLNK(entry.st_mode)) {
    error = LinkRefusedText(path);
    return false;
  }
  const fs::path target = rules.refuse_links ? path : ResolveTarget(path);
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) {
    // Renaming over a folder, a device or a pipe would replace it, not write into it.
    error = path.string() + ": not a regular file";
    return false;
  }
  fs::path temp;
  std::string why;
  const int fd = CreateTemporary(target, rules.private_file ? 0600 : 0666, temp, why);
  if (fd < 0) {
    error = path.string() + ": cannot be written (" + why + ")";
    return false;
  }
  bool ok = true;
  if (rules.private_file) {
    ::fchmod(fd, 0600);  // whatever the umask or the file before said
  } else if (exists) {
    ::fchmod(fd, existing.st_mode & 07777);
  }
  for (std::size_t n = 0; n < count; ++n) {
    if (!(ok = WriteAll(fd, piece(n), why))) break;
  }
  if (ok && ::fsync(fd) != 0) {
    ok = false;
    why = ErrnoText(errno);
  }
  struct stat stored {};
  if (ok && written != nullptr && ::fstat(fd, &stored) != 0) {
    ok = false;
    why = ErrnoText(errno);
  }
  if (::close(fd) != 0 && ok) {
    ok = false;
    why = ErrnoText(errno);
  }
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
    ok = false;
    why = ErrnoText(errno);
  }
  if (!ok) {
    ::unlink(temp.c_str());
    error = path.string() + ": cannot be written (" + why + ")";
    return false;
  }
  FlushFolder(target.parent_path());
  if (written != nullptr) *written = StampOf(stored);
  return true;
}

bool WriteFileAtomically(const fs::path& path, std::initializer_list<ByteView> pieces,
                         std::string& error, WriteRules rules) {
  return WriteFileAtomically(path, std::span<const ByteView>(pieces.begin(), pieces.size()), error,
                             rules);
}

}  // namespace ms1

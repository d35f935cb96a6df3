// Test helper: folders nobody may write into while the object lives, not even
// root. Root passes over permission bits, so as root the folders are made
// immutable (chattr +i); anyone else gets the write bits taken away. Whether
// it worked is tried out, not assumed: Works() says so, Why() says why not.
#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace ms1::test {

class ReadOnlyFolders {
 public:
  explicit ReadOnlyFolders(std::vector<std::filesystem::path> folders)
      : folders_(std::move(folders)), as_root_(::geteuid() == 0) {
    for (const auto& folder : folders_) {
      if (!Lock(folder, true)) {
        why_ = folder.string() + ": " + std::strerror(errno);
        return;
      }
    }
    const std::filesystem::path probe = folders_.back() / ".write-probe";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::close(fd);
      ::unlink(probe.c_str());
      why_ = "the folder could still be written";
    }
  }
  ~ReadOnlyFolders() { Undo(); }
  ReadOnlyFolders(const ReadOnlyFolders&) = delete;
  ReadOnlyFolders& operator=(const ReadOnlyFolders&) = delete;

  bool Works() const { return why_.empty(); }
  const std::string& Why() const { return why_; }

  // Makes the folders writable again; never throws.
  void Undo() {
    for (const auto& folder : folders_) Lock(folder, false);
    folders_.clear();
  }

 private:
  bool Lock(const std::filesystem::path& folder, bool locked) const {
    if (!as_root_) {
      std::error_code ignored;
      std::filesystem::permissions(folder, std::filesystem::perms::owner_write,
                                   locked ? std::filesystem::perm_options::remove
                                          : std::filesystem::perm_options::add,
                                   ignored);
      return !ignored;
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
      flags = locked ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
      done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return done;
  }

  std::vector<std::filesystem::path> folders_;
  bool as_root_;
  std::string why_;
};

}  // namespace ms1::test

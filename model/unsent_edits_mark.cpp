#include "model/unsent_edits_mark.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "model/store_file.h"

namespace ms1 {

namespace fs = std::filesystem;

fs::path UnsentEditsMarkPath(const fs::path& data_folder) {
  return StoreFolder(data_folder) / ".unsent-edits";
}

bool UnsentEditsMarked(const fs::path& data_folder) {
  struct stat st {};
  return ::lstat(UnsentEditsMarkPath(data_folder).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool SetUnsentEditsMark(const fs::path& data_folder, bool unsent, std::string& error) {
  const fs::path mark = UnsentEditsMarkPath(data_folder);
  if (!unsent) {
    if (::unlink(mark.c_str()) == 0 || errno == ENOENT) return true;
    error = mark.string() + ": " + std::strerror(errno);
    return false;
  }
  if (!MakeStoreFolder(data_folder, error)) return false;
  const int fd = ::open(mark.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    error = mark.string() + ": " + std::strerror(errno);
    return false;
  }
  ::close(fd);
  return true;
}

}  // namespace ms1

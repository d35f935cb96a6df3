#include "model/unsent_edits_mark.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "model/store_file.h"

namespace ms1 {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLowBatteryNoticesOff = ".no-low-battery-notices";

bool Marked(const fs::path& mark) {
  struct stat st {};
  return ::lstat(mark.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool SetMark(const fs::path& data_folder, const fs::path& mark, bool on, std::string& error) {
  if (!on) {
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

}  // namespace

fs::path UnsentEditsMarkPath(const fs::path& data_folder) {
  return StoreFolder(data_folder) / ".unsent-edits";
}

bool UnsentEditsMarked(const fs::path& data_folder) {
  return Marked(UnsentEditsMarkPath(data_folder));
}

bool SetUnsentEditsMark(const fs::path& data_folder, bool unsent, std::string& error) {
  return SetMark(data_folder, UnsentEditsMarkPath(data_folder), unsent, error);
}

bool LowBatteryNoticesOff(const fs::path& data_folder) {
  return Marked(StoreFolder(data_folder) / kLowBatteryNoticesOff);
}

bool SetLowBatteryNoticesOff(const fs::path& data_folder, bool off, std::string& error) {
  return SetMark(data_folder, StoreFolder(data_folder) / kLowBatteryNoticesOff, off, error);
}

}  // namespace ms1

#include "platform/folders.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace ms1 {
namespace fs = std::filesystem;

std::string ProgramFolder() {
  std::error_code error;
  const fs::path exe = fs::read_symlink("/proc/self/exe", error);
  if (error) return "./";
  std::string folder = exe.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string DataFolderFor(const std::string& programFolder, const std::string& dataHome) {
  std::error_code error;
  const std::string beside = programFolder + "Data";
  if (fs::is_directory(beside, error) && access(beside.c_str(), W_OK) == 0) return beside + "/";
  if (!fs::exists(beside, error) && access(programFolder.c_str(), W_OK) == 0) {
    fs::create_directory(beside, error);
    return beside + "/";
  }
  // A file named "Data", or a folder we may not write: use the user's data home.
  const std::string home = dataHome + "ms1-config";
  fs::create_directories(home, error);
  return home + "/";
}

std::string DataFolder() {
  std::string dataHome;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
    dataHome = xdg;
  } else if (const char* user = std::getenv("HOME"); user != nullptr && user[0] != '\0') {
    dataHome = std::string(user) + "/.local/share";
  } else {
    dataHome = "/tmp";
  }
  if (dataHome.back() != '/') dataHome += '/';
  return DataFolderFor(ProgramFolder(), dataHome);
}

}  // namespace ms1

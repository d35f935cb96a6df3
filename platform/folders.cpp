#include "platform/folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace ms1 {

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  return folder;
}

// True when the program may create and replace files in the folder.
bool Writable(const fs::path& folder) {
  std::error_code ec;
  return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string UserDataFolder(const char* xdg_data_home, const char* home) {
  // The XDG rules ignore a relative XDG_DATA_HOME.
  if (xdg_data_home != nullptr && xdg_data_home[0] == '/')
    return std::string(xdg_data_home) + "/ms1-config";
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.local/share/ms1-config";
  return {};
}

// Under the home of users without one; never created.
constexpr char kNoHomeDataFolder[] = "/nonexistent/.local/share/ms1-config/";

bool Installed(const std::string& program_folder) {
  std::error_code ec;
  return fs::exists(WithSlash(program_folder) + kInstalledMarker, ec);
}

// HOME may be unset for a program started by a session manager; the password
// database still knows the home folder.
const char* HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return home;
  const passwd* entry = ::getpwuid(::getuid());
  return entry != nullptr ? entry->pw_dir : nullptr;
}

}  // namespace

std::string ProgramFolderOf(const std::string& executable_path) {
  const std::string::size_type slash = executable_path.rfind('/');
  if (slash == std::string::npos) return "./";
  return executable_path.substr(0, slash + 1);
}

std::string ProgramFolder() {
  std::error_code ec;
  const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string("./") : ProgramFolderOf(executable.string());
}

std::string DataFolderFor(const std::string& program_folder, const char* xdg_data_home,
                          const char* home) {
  std::error_code ec;
  const bool installed = Installed(program_folder);
  const std::string beside_program = WithSlash(program_folder) + "Data";
  if (!installed) {
    ::mkdir(beside_program.c_str(), 0700);  // the user's alone, as everything in it
    if (Writable(beside_program)) return beside_program + "/";
  }
  const std::string user_folder = UserDataFolder(xdg_data_home, home);
  // Nowhere else to go: saves will say what is wrong.
  if (user_folder.empty()) return installed ? kNoHomeDataFolder : beside_program + "/";
  fs::create_directories(fs::path(user_folder).parent_path(), ec);
  ::mkdir(user_folder.c_str(), 0700);
  return user_folder + "/";
}

std::string DataFolder() {
  return DataFolderFor(ProgramFolder(), std::getenv("XDG_DATA_HOME"), HomeFolder());
}

}  // namespace ms1

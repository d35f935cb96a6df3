// Every test process runs with a home folder and XDG folders of its own,
// made at start and removed at exit: nothing a test runs (Qt's file dialogs
// remembering folders, an autostart entry, a data folder) lands in the real
// home of whoever runs the tests, and no two test processes share one. The
// programs they start speak English, whatever the desktop's language, unless
// a test asks for another.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

namespace {

class PrivateHome {
 public:
  PrivateHome() : creator_(::getpid()) {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/ms1-home-XXXXXX";
    ::setenv("MS1_LANGUAGE", "en", 0);
    if (::mkdtemp(pattern.data()) == nullptr) return;
    root_ = pattern;
    ::setenv("HOME", root_.c_str(), 1);
    const std::pair<const char*, const char*> folders[] = {{"XDG_CONFIG_HOME", ".config"},
                                                           {"XDG_DATA_HOME", ".local/share"},
                                                           {"XDG_CACHE_HOME", ".cache"},
                                                           {"XDG_STATE_HOME", ".local/state"}};
    for (const auto& [variable, folder] : folders) {
      const std::filesystem::path path = std::filesystem::path(root_) / folder;
      std::error_code ec;
      std::filesystem::create_directories(path, ec);
      ::setenv(variable, path.c_str(), 1);
    }
  }
  // Only the process that made it removes it: a forked child that exits
  // normally must not take its parent's home away.
  ~PrivateHome() {
    if (root_.empty() || ::getpid() != creator_) return;
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  PrivateHome(const PrivateHome&) = delete;
  PrivateHome& operator=(const PrivateHome&) = delete;

 private:
  pid_t creator_;
  std::string root_;
};

const PrivateHome kPrivateHome;

}  // namespace

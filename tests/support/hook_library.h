// Opens Hook.so from a program folder and binds its entry points the way the
// program does, but leaves calling removehook to the test: closing only
// unloads the library.
#pragma once

#include <dirent.h>

#include <sys/types.h>

#include <fstream>
#include <string>
#include <vector>

#include "device/folder_library.h"
#include "device/input_hook_library.h"

namespace ms1::test {

// The name Hook.so gives its capture thread.
inline constexpr char kHookThreadName[] = "ms1 input hook";

class HookLibrary : public InputHookTable {
 public:
  explicit HookLibrary(const std::string& folder)
      : handle_(OpenFolderLibrary(folder, kInputHookFile)) {
    if (handle_ != nullptr) static_cast<InputHookTable&>(*this) = BindInputHook(handle_);
  }
  ~HookLibrary() {
    if (handle_ != nullptr) CloseFolderLibrary(handle_);
  }
  HookLibrary(const HookLibrary&) = delete;
  HookLibrary& operator=(const HookLibrary&) = delete;

  bool Loaded() const {
    return installmousehook && removemousehook && enablemousehook && installhook && removehook &&
           enablehook && mousewheelenable;
  }

  // What the program does when a window starts capturing (a key field gains
  // the focus, a recording starts), and when it stops.
  void Start(Ms1WindowHandle window, bool mouse) {
    installhook(window);
    enablehook(1);
    mousewheelenable(0);
    enablemousehook(mouse ? 1 : 0);
  }
  void Stop() {
    removehook();
    removemousehook();
    enablemousehook(0);
    enablehook(0);
    mousewheelenable(0);
  }

 private:
  void* handle_;
};

// The ids of this process's threads that carry `name`.
inline std::vector<pid_t> ThreadsNamed(const std::string& name) {
  std::vector<pid_t> ids;
  if (DIR* tasks = ::opendir("/proc/self/task")) {
    while (const dirent* entry = ::readdir(tasks)) {
      if (entry->d_name[0] == '.') continue;
      std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
      std::string thread_name;
      std::getline(comm, thread_name);
      if (thread_name == name) ids.push_back(static_cast<pid_t>(std::stol(entry->d_name)));
    }
    ::closedir(tasks);
  }
  return ids;
}

// How many capture threads Hook.so runs in this process now.
inline int CaptureThreads() { return static_cast<int>(ThreadsNamed(kHookThreadName).size()); }

}  // namespace ms1::test

// Opens Hook.so from a program folder and binds its entry points the way the
// program does, but leaves calling removehook to the test: closing only
// unloads the library.
#pragma once

#include <dirent.h>
#include <sys/types.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "device/driver/folder_library.h"
#include "device/driver/input_hook_library.h"

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

// Whether the thread `task` (its folder under /proc/self/task) has begun to
// exit. pthread_join returns once the exiting thread has let go of its
// memory, but the kernel lists the thread until the end of its exit, and on a
// loaded machine that end can come after the joiner has looked. The kernel
// marks a thread exiting (PF_EXITING in the flags, the ninth field of stat)
// before it lets the joiner go, and such a thread never runs user code again.
inline bool Exiting(const std::string& task) {
  constexpr unsigned long kPfExiting = 0x4;
  std::ifstream stat(task + "/stat");
  std::string line;
  std::getline(stat, line);
  const std::size_t name_end = line.rfind(')');
  if (name_end == std::string::npos) return true;  // gone meanwhile
  std::istringstream fields(line.substr(name_end + 1));
  std::string field;
  for (int n = 3; n < 9 && fields >> field; ++n) {
  }
  unsigned long flags = 0;
  return !(fields >> flags) || (flags & kPfExiting) != 0;
}

// The ids of this process's threads that carry `name` and have not begun to
// exit.
inline std::vector<pid_t> ThreadsNamed(const std::string& name) {
  std::vector<pid_t> ids;
  if (DIR* tasks = ::opendir("/proc/self/task")) {
    while (const dirent* entry = ::readdir(tasks)) {
      if (entry->d_name[0] == '.') continue;
      const std::string task = std::string("/proc/self/task/") + entry->d_name;
      std::ifstream comm(task + "/comm");
      std::string thread_name;
      std::getline(comm, thread_name);
      if (thread_name == name && !Exiting(task)) {
        ids.push_back(static_cast<pid_t>(std::stol(entry->d_name)));
      }
    }
    ::closedir(tasks);
  }
  return ids;
}

// How many capture threads Hook.so runs in this process now.
inline int CaptureThreads() {
  return static_cast<int>(ThreadsNamed(kHookThreadName).size());
}

}  // namespace ms1::test

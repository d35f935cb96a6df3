// Opens Hook.so from a program folder and binds its entry points the way the
// program does, but leaves calling removehook to the test: closing only
// unloads the library.
#pragma once

#include <dirent.h>

#include <string>

#include "device/folder_library.h"
#include "device/input_hook_library.h"

namespace ms1::test {

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

// How many threads this process runs right now.
inline int ThreadCount() {
  int count = 0;
  if (DIR* tasks = ::opendir("/proc/self/task")) {
    while (const dirent* entry = ::readdir(tasks)) {
      if (entry->d_name[0] != '.') ++count;
    }
    ::closedir(tasks);
  }
  return count;
}

}  // namespace ms1::test

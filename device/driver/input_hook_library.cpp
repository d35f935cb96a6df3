#include "device/driver/input_hook_library.h"

#include <unistd.h>

#include <cstdio>

#include "device/driver/folder_library.h"

namespace ms1 {

InputHookTable BindInputHook(void* handle) {
  InputHookTable table;
  BindEntryPoint(handle, "installmousehook", table.installmousehook);
  BindEntryPoint(handle, "removemousehook", table.removemousehook);
  BindEntryPoint(handle, "enablemousehook", table.enablemousehook);
  BindEntryPoint(handle, "installhook", table.installhook);
  BindEntryPoint(handle, "removehook", table.removehook);
  BindEntryPoint(handle, "enablehook", table.enablehook);
  BindEntryPoint(handle, "mousewheelenable", table.mousewheelenable);
  return table;
}

bool InputHookLibrary::Load(const std::string& folder) {
  Unload();
  std::string error;
  handle_ = OpenFolderLibrary(folder, kInputHookFile, &error);
  if (handle_ == nullptr) {
    // No file is the ordinary case of an install without input capture; a
    // file that is there but does not load deserves a trace.
    if (access(FolderLibraryPath(folder, kInputHookFile).c_str(), F_OK) == 0) {
      std::fprintf(stderr, "%s\n", error.c_str());
    }
    return false;
  }
  table_ = BindInputHook(handle_);
  return true;
}

void InputHookLibrary::Unload() {
  if (handle_ == nullptr) return;
  if (table_.removemousehook != nullptr) table_.removemousehook();
  if (table_.removehook != nullptr) table_.removehook();
  table_ = {};
  CloseFolderLibrary(handle_);
  handle_ = nullptr;
}

}  // namespace ms1

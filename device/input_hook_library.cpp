#include "device/input_hook_library.h"

#include <unistd.h>

#include <cstdio>

#include "device/folder_library.h"

namespace ms1 {

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
  BindEntryPoint(handle_, "installmousehook", table_.installmousehook);
  BindEntryPoint(handle_, "removemousehook", table_.removemousehook);
  BindEntryPoint(handle_, "enablemousehook", table_.enablemousehook);
  BindEntryPoint(handle_, "installhook", table_.installhook);
  BindEntryPoint(handle_, "removehook", table_.removehook);
  BindEntryPoint(handle_, "enablehook", table_.enablehook);
  BindEntryPoint(handle_, "mousewheelenable", table_.mousewheelenable);
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

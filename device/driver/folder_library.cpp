#include "device/driver/folder_library.h"

#include <dlfcn.h>

namespace ms1 {

std::string FolderLibraryPath(const std::string& folder, const std::string& file_name) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  path += file_name;
  // A path with a slash keeps dlopen from searching anywhere but the folder.
  if (path.find('/') == std::string::npos) path = "./" + path;
  return path;
}

void* OpenFolderLibrary(const std::string& folder, const std::string& file_name,
                        std::string* error) {
  const std::string path = FolderLibraryPath(folder, file_name);
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr && error != nullptr) {
    const char* reason = dlerror();
    *error = reason != nullptr ? reason : path;
  }
  return handle;
}

void CloseFolderLibrary(void* handle) {
  dlclose(handle);
}

void* FindEntryPoint(void* handle, const char* name) {
  return dlsym(handle, name);
}

}  // namespace ms1

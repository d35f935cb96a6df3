// Opening an outside library that lives in the program folder, and binding
// its entry points by name.
#pragma once

#include <string>

namespace ms1 {

// `folder` + `file_name`, as a path the loader takes literally (never searched
// for along the library path).
std::string FolderLibraryPath(const std::string& folder, const std::string& file_name);

// The library at FolderLibraryPath, opened with every symbol resolved now and none shared
// with later libraries. Null when it does not load; `error` (if given) then
// receives the loader's reason.
void* OpenFolderLibrary(const std::string& folder, const std::string& file_name,
                        std::string* error = nullptr);

void CloseFolderLibrary(void* handle);

void* FindEntryPoint(void* handle, const char* name);

// Stores the entry point `name` of `handle` in `out`, null when it is missing.
template <typename Fn>
bool BindEntryPoint(void* handle, const char* name, Fn& out) {
  out = reinterpret_cast<Fn>(FindEntryPoint(handle, name));
  return out != nullptr;
}

}  // namespace ms1

// The input hook library, Hook.so, loaded from the program folder. Without the
// file, or without one of its entry points, that part of input capture is
// simply absent: nothing is reported to the user.
#pragma once

#include <string>

#include "device/driver/input_hook_table.h"

namespace ms1 {

inline constexpr char kInputHookFile[] = "Hook.so";

// The entry points of an opened Hook.so (a dlopen handle); null where one is
// missing.
InputHookTable BindInputHook(void* handle);

class InputHookLibrary {
 public:
  InputHookLibrary() = default;
  ~InputHookLibrary() { Unload(); }
  InputHookLibrary(const InputHookLibrary&) = delete;
  InputHookLibrary& operator=(const InputHookLibrary&) = delete;

  // Loads `folder` + "Hook.so" and binds each entry point it has. False when
  // the file does not load (then every entry stays null). A library already
  // loaded is released first.
  bool Load(const std::string& folder);

  // Ends the hooks the library may still hold (removemousehook, then
  // removehook, each only if bound) and unloads it. Every entry becomes null,
  // so holders of the table never call into an unloaded library. Does nothing
  // when no library is loaded.
  void Unload();

  bool IsLoaded() const { return handle_ != nullptr; }

  // Stays at the same address for the object's life; its entries follow
  // Load and Unload.
  const InputHookTable& Table() const { return table_; }

 private:
  void* handle_ = nullptr;
  InputHookTable table_;
};

}  // namespace ms1

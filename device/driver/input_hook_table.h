// The entry points of the input hook library as the program hands them on:
// from the main window to the device page, the macro editor and the shortcut
// dialog. An entry point the library lacks, or every one while no library is
// loaded, is null and must not be called.
#pragma once

#include "libs/abi/ms1_input_hook.h"

namespace ms1 {

struct InputHookTable {
  Ms1InstallMouseHookFn installmousehook = nullptr;
  Ms1RemoveMouseHookFn removemousehook = nullptr;
  Ms1EnableMouseHookFn enablemousehook = nullptr;
  Ms1InstallHookFn installhook = nullptr;
  Ms1RemoveHookFn removehook = nullptr;
  Ms1EnableHookFn enablehook = nullptr;
  Ms1MouseWheelEnableFn mousewheelenable = nullptr;
};

// Whether a window can be told about keys: it can install the hook, switch
// it on and remove it again.
inline bool CanCaptureKeys(const InputHookTable* hook) {
  return hook != nullptr && hook->installhook != nullptr && hook->removehook != nullptr &&
         hook->enablehook != nullptr;
}

}  // namespace ms1

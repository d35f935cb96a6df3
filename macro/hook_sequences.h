// The input hook calls of recording, in the order the library
// expects them. An entry point the library lacks is skipped.
#pragma once

#include "device/driver/input_hook_table.h"

namespace ms1 {

// Keyboard reporting to window, wheel off; mouse buttons stay off until the
// pointer leaves the record button.
void HookStartRecording(const InputHookTable& hook, Ms1WindowHandle window);
// Every hook and every kind of report off.
void HookStopRecording(const InputHookTable& hook);
void HookEnableMouseButtons(const InputHookTable& hook, bool enable);

}  // namespace ms1

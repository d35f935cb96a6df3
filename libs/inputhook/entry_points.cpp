// The seven C entry points of Hook.so.
#include "libs/abi/ms1_input_hook.h"
#include "libs/inputhook/input_hook.h"

#define MS1_HOOK_EXPORT extern "C" __attribute__((visibility("default")))

using ms1::inputhook::TheInputHook;

// Mouse buttons need no hook of their own: they come with the capture that
// installhook starts, gated by enablemousehook.
MS1_HOOK_EXPORT void installmousehook(void) {}
MS1_HOOK_EXPORT void removemousehook(void) {}

MS1_HOOK_EXPORT void enablemousehook(int flag) { TheInputHook().EnableMouse(flag != 0); }

MS1_HOOK_EXPORT void installhook(Ms1WindowHandle window) { TheInputHook().Install(window); }

MS1_HOOK_EXPORT void removehook(void) { TheInputHook().Remove(); }

MS1_HOOK_EXPORT void enablehook(int flag) { TheInputHook().Enable(flag != 0); }

// The wheel is never reported, whatever the flag.
MS1_HOOK_EXPORT void mousewheelenable(int) {}

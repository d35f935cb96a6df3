#include "macro/hook_sequences.h"

namespace ms1 {

namespace {

template <typename Fn, typename... Args>
void CallIfBound(Fn fn, Args... args) {
  if (fn != nullptr) fn(args...);
}

}  // namespace

void HookStartRecording(const InputHookTable& hook, Ms1WindowHandle window) {
  CallIfBound(hook.installhook, window);
  CallIfBound(hook.enablehook, 1);
  CallIfBound(hook.mousewheelenable, 0);
}

void HookStopRecording(const InputHookTable& hook) {
  CallIfBound(hook.removehook);
  CallIfBound(hook.removemousehook);
  CallIfBound(hook.enablemousehook, 0);
  CallIfBound(hook.enablehook, 0);
  CallIfBound(hook.mousewheelenable, 0);
}

void HookEnableMouseButtons(const InputHookTable& hook, bool enable) {
  CallIfBound(hook.enablemousehook, enable ? 1 : 0);
}

}  // namespace ms1

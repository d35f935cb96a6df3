/* The C interface of the input hook library, Hook.so. It watches the keyboard
 * and the mouse for the whole desktop and reports what it sees to one window
 * of the program, which only ever calls it from its interface thread.
 *
 * Events are posted to the window given to installhook as message
 * MS1_HOOK_EVENT_MESSAGE (1034):
 *   keyboard: wParam = Windows virtual-key code, lParam = 0 press, 1 release.
 *     Left and right modifiers have their own codes (0xA0..0xA5, 0x5B, 0x5C);
 *     a held key's repeats arrive as further presses; a key that carries no
 *     virtual key in the active layout is not reported. The layout is followed
 *     as it changes.
 *   mouse buttons: wParam = Windows mouse message, lParam as follows:
 *     left (X11 button 1) 0x201/0x202, middle (2) 0x207/0x208 and right (3)
 *     0x204/0x205, each with lParam 0; back (8) and forward (9) 0x20B/0x20C
 *     with lParam 2 and 1, since the macro recorder reads Windows X button 2
 *     as back and 1 as forward. The wheel (X11 buttons 4..7) is never reported.
 *
 * When events are posted: keyboard events while a window is installed and
 * enablehook(1) is in force; mouse buttons while a window is installed and both
 * enablehook(1) and enablemousehook(1) are in force. Every entry point may be
 * called in any order and any number of times. removehook, enablehook(0) and
 * enablemousehook(0) take effect before they return: from then on nothing
 * (respectively no mouse button) is posted, not even an event the library had
 * already seen. Whichever of installhook and enablehook(1) completes the
 * conditions returns once capture runs: input that follows it is reported,
 * input that came before it never is.
 * Without an X display, or one without the RECORD extension (a Wayland
 * session without XWayland), every entry point still returns at once and
 * nothing is reported. After removehook the library runs no thread of its
 * own, so it may be unloaded. */
#ifndef MS1_INPUT_HOOK_H
#define MS1_INPUT_HOOK_H

#include "libs/abi/ms1_window_handle.h"

#ifdef __cplusplus
extern "C" {
#endif

enum { MS1_HOOK_EVENT_MESSAGE = 1034 };

/* The mouse messages a button event carries as wParam. */
enum Ms1HookMouseMessage {
  MS1_HOOK_LEFT_DOWN = 0x201,
  MS1_HOOK_LEFT_UP = 0x202,
  MS1_HOOK_RIGHT_DOWN = 0x204,
  MS1_HOOK_RIGHT_UP = 0x205,
  MS1_HOOK_MIDDLE_DOWN = 0x207,
  MS1_HOOK_MIDDLE_UP = 0x208,
  MS1_HOOK_X_DOWN = 0x20B,
  MS1_HOOK_X_UP = 0x20C
};

/* lParam of MS1_HOOK_X_DOWN and MS1_HOOK_X_UP: which X button. The macro
 * recorder reads X button 2 as back and 1 as forward, the other way round
 * from Windows' own numbering. */
enum Ms1HookXButton { MS1_HOOK_X_FORWARD = 1, MS1_HOOK_X_BACK = 2 };

/* Bound by the program; the first is never called. Both do nothing: mouse
 * buttons come with the keyboard hook, gated by enablemousehook. */
void installmousehook(void);
void removemousehook(void);
/* flag 1: report mouse buttons; 0: stop. */
void enablemousehook(int flag);

/* The window that receives the events from now on. */
void installhook(Ms1WindowHandle window);
void removehook(void);
/* flag 1: report; 0: stop. */
void enablehook(int flag);

/* The program always passes 0; wheel movement is never reported either way. */
void mousewheelenable(int flag);

/* Signatures as the program binds them with dlsym. */
typedef void (*Ms1InstallMouseHookFn)(void);
typedef void (*Ms1RemoveMouseHookFn)(void);
typedef void (*Ms1EnableMouseHookFn)(int);
typedef void (*Ms1InstallHookFn)(Ms1WindowHandle);
typedef void (*Ms1RemoveHookFn)(void);
typedef void (*Ms1EnableHookFn)(int);
typedef void (*Ms1MouseWheelEnableFn)(int);

#ifdef __cplusplus
}
#endif

#endif /* MS1_INPUT_HOOK_H */

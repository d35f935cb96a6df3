/* The C interface of the input hook library, Hook.so. It watches the keyboard
 * and the mouse for the whole desktop and reports what it sees to one window
 * of the program, which only ever calls it from its interface thread.
 *
 * Events are posted to the window given to installhook as message
 * MS1_HOOK_EVENT_MESSAGE (1034):
 *   keyboard: wParam = Windows virtual-key code, lParam = 0 press, else release;
 *   mouse buttons: wParam = Windows mouse message (0x201/0x202 left down/up,
 *   0x204/0x205 right, 0x207/0x208 middle, 0x20B/0x20C X button down/up),
 *   lParam = 1 or 2 naming the X button. */
#ifndef MS1_INPUT_HOOK_H
#define MS1_INPUT_HOOK_H

#include "libs/abi/ms1_window_handle.h"

#ifdef __cplusplus
extern "C" {
#endif

enum { MS1_HOOK_EVENT_MESSAGE = 1034 };

/* Bound by the program but never called. */
void installmousehook(void);
void removemousehook(void);
/* flag 1: report mouse buttons; 0: stop. */
void enablemousehook(int flag);

/* The window that receives the events from now on. */
void installhook(Ms1WindowHandle window);
void removehook(void);
/* flag 1: report; 0: stop. */
void enablehook(int flag);

/* The program always passes 0: wheel movement is never reported. */
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

/* How an outside library reaches the program's main window: the driver
 * libraries post their plug and data messages through it, the input hook its
 * input events. */
#ifndef MS1_WINDOW_HANDLE_H
#define MS1_WINDOW_HANDLE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Lets a library post a message to the program's main window from any thread.
 * The library keeps a copy; `post` must be safe to call from any thread. */
typedef struct Ms1WindowHandle {
  void *context;
  void (*post)(void *context, uint32_t message, uintptr_t wParam, intptr_t lParam);
} Ms1WindowHandle;

#ifdef __cplusplus
}
#endif

#endif /* MS1_WINDOW_HANDLE_H */

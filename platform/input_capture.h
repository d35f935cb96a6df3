// Whether macro recording and shortcut key capture can see the keyboard and
// the mouse in this session. They go through X11 (the RECORD extension), so
// they need an X11 session, or XWayland under Wayland.
#pragma once

#include <string>

class QLabel;

namespace ms1 {

inline constexpr char kInputCaptureNoDisplayKey[] = "input_capture_no_display_text";
inline constexpr char kInputCaptureNoRecordKey[] = "input_capture_no_record_text";
inline constexpr char kInputCaptureNoHookKey[] = "input_capture_no_hook_text";

// Empty when capture works; else the language key of a plain explanation:
// kInputCaptureNoDisplayKey when no X display can be reached (a Wayland
// session without XWayland, no desktop at all), kInputCaptureNoRecordKey when
// the display lacks the RECORD extension.
std::string InputCaptureProblem();

// Shows in `note` why capture will see nothing, and hides it when capture
// works: kInputCaptureNoHookKey when the hook library's entry points are
// missing (`hook_bound` false), else the InputCaptureProblem() of the session.
void ShowInputCaptureNote(QLabel* note, bool hook_bound);

}  // namespace ms1

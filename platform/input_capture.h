// Whether macro recording and shortcut key capture can see the keyboard and
// the mouse in this session. They go through X11 (the RECORD extension), so
// they need an X11 session, or XWayland under Wayland.
#pragma once

#include <string>

namespace ms1 {

inline constexpr char kInputCaptureNoDisplayKey[] = "input_capture_no_display_text";
inline constexpr char kInputCaptureNoRecordKey[] = "input_capture_no_record_text";

// Empty when capture works; else the language key of a plain explanation:
// kInputCaptureNoDisplayKey when no X display can be reached (a Wayland
// session without XWayland, no desktop at all), kInputCaptureNoRecordKey when
// the display lacks the RECORD extension.
std::string InputCaptureProblem();

}  // namespace ms1

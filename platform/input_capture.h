// What macro recording can see in this session. Keys typed into the program's
// own windows come from those windows, everywhere. The rest of the desktop
// and every mouse button come through the input hook, which uses X11 (the
// RECORD extension): it needs an X11 session, or XWayland under Wayland, where
// it sees only the programs that run on XWayland.
#pragma once

#include <string>

class QLabel;

namespace ms1 {

inline constexpr char kInputCaptureNoDisplayKey[] = "input_capture_no_display_text";
inline constexpr char kInputCaptureNoRecordKey[] = "input_capture_no_record_text";
inline constexpr char kInputCaptureNoHookKey[] = "input_capture_no_hook_text";
inline constexpr char kInputCaptureWaylandKey[] = "input_capture_wayland_text";

// Empty when capture works; else the language key of a plain explanation:
// kInputCaptureNoDisplayKey when no X display can be reached (a Wayland
// session without XWayland, no desktop at all), kInputCaptureNoRecordKey when
// the display lacks the RECORD extension.
std::string InputCaptureProblem();

// Whether this is a Wayland session (XDG_SESSION_TYPE or WAYLAND_DISPLAY says
// so), where the hook sees none of the native Wayland programs.
bool WaylandSession();

// Shows in `note` what recording will not see, and hides it when it sees the
// whole desktop: kInputCaptureNoHookKey when the hook library's entry points
// are missing (`hook_bound` false), else the InputCaptureProblem() of the
// session, else kInputCaptureWaylandKey in a Wayland session.
void ShowInputCaptureNote(QLabel* note, bool hook_bound);

}  // namespace ms1

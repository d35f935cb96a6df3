// The session side of what recording can see, without Qt, so that ms1ctl can
// ask too.
#include <xcb/record.h>
#include <xcb/xcb.h>

#include <cstdlib>

#include "platform/input_capture.h"

namespace ms1 {

std::string InputCaptureProblem() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  std::string problem;
  if (xcb_connection_has_error(connection) != 0) {
    problem = kInputCaptureNoDisplayKey;
  } else {
    const xcb_query_extension_reply_t* record = xcb_get_extension_data(connection, &xcb_record_id);
    if (record == nullptr || record->present == 0) problem = kInputCaptureNoRecordKey;
  }
  xcb_disconnect(connection);
  return problem;
}

bool WaylandSession() {
  const char* type = std::getenv("XDG_SESSION_TYPE");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (type != nullptr && std::string(type) == "wayland") ||
         (wayland != nullptr && wayland[0] != '\0');
}

}  // namespace ms1

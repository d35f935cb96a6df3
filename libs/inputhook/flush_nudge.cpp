#include "libs/inputhook/flush_nudge.h"

#include <xcb/xcbext.h>

#include <cstdlib>

namespace ms1::inputhook {

void FlushNudge::AfterInput() {
  if (!enabled_) return;
  if (outstanding_) {
    input_since_sent_ = true;
    return;
  }
  Send();
}

void FlushNudge::TakeAnswer() {
  if (!outstanding_) return;
  void* reply = nullptr;
  xcb_generic_error_t* error = nullptr;
  if (xcb_poll_for_reply(connection_, *outstanding_, &reply, &error) == 0) return;
  std::free(reply);
  std::free(error);
  outstanding_.reset();
  if (input_since_sent_) Send();
}

void FlushNudge::Send() {
  input_since_sent_ = false;
  outstanding_ = xcb_get_input_focus(connection_).sequence;
  xcb_flush(connection_);
}

}  // namespace ms1::inputhook

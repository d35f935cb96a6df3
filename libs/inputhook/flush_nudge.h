// An idle X server writes what it records only when it next writes to some
// client: input that nobody else is told about (no window wants it, the
// injector did not wait for an answer) waits in the server until then. After
// input arrives, a cheap request with a reply on the control connection makes
// the server write, and so hands over whatever it recorded meanwhile; this is
// repeated until a round trip brings no more input. With no input there is no
// request, so the nudge costs nothing while all is quiet.
#pragma once

#include <xcb/xcb.h>

#include <optional>

namespace ms1::inputhook {

class FlushNudge {
 public:
  FlushNudge(xcb_connection_t* connection, bool enabled)
      : connection_(connection), enabled_(enabled) {}

  // Input has just been handled.
  void AfterInput();

  // Takes the answer to the outstanding nudge if it has come, without
  // blocking; nudges again when input was handled in between.
  void TakeAnswer();

 private:
  void Send();

  xcb_connection_t* connection_;
  bool enabled_;
  std::optional<unsigned int> outstanding_;
  bool input_since_sent_ = false;
};

}  // namespace ms1::inputhook

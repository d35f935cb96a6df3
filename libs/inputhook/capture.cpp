#include "libs/inputhook/capture.h"

#include <poll.h>
#include <pthread.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "libs/inputhook/flush_nudge.h"
#include "libs/inputhook/input_translation.h"
#include "libs/inputhook/layout_follower.h"

namespace ms1::inputhook {
namespace {

// Takes every event and reply that has come on the control connection.
void TakeControlTraffic(xcb_connection_t* control, LayoutFollower& layout, FlushNudge& nudge) {
  while (xcb_generic_event_t* event = xcb_poll_for_event(control)) {
    layout.Notice(*event);
    std::free(event);
  }
  nudge.TakeAnswer();
}

// True when the stop event woke the thread.
bool WaitForTraffic(const RecordSession& session, const WakeEvent& stop) {
  pollfd fds[] = {stop.PollEntry(), {session.DataFd(), POLLIN, 0}, {session.ControlFd(), POLLIN, 0}};
  while (::poll(fds, 3, -1) < 0 && errno == EINTR) {
  }
  return fds[0].revents != 0;
}

}  // namespace

std::unique_ptr<Capture> Capture::Start(Sink sink, CaptureOptions options) {
  std::unique_ptr<RecordSession> session = RecordSession::Open();
  if (session == nullptr) return nullptr;
  std::unique_ptr<Capture> capture(new Capture(std::move(session), std::move(sink), options));
  if (!capture->stop_.Valid()) return nullptr;
  capture->thread_ = std::thread(&Capture::Run, capture.get());
  pthread_setname_np(capture->thread_.native_handle(), kCaptureThreadName);
  return capture;
}

Capture::Capture(std::unique_ptr<RecordSession> session, Sink sink, CaptureOptions options)
    : session_(std::move(session)), sink_(std::move(sink)), options_(options) {}

Capture::~Capture() {
  if (!thread_.joinable()) return;
  stop_.Signal();
  thread_.join();
}

// Control traffic is taken after the recorded input it came with and before
// that input is translated: a layout change the server made before a key
// press is in effect when the press is read.
void Capture::Run() {
  xcb_connection_t* control = session_->Control();
  LayoutFollower layout(control);
  FlushNudge nudge(control, options_.nudge_flush);
  std::vector<RecordedInput> inputs;
  do {
    inputs.clear();
    if (!session_->ReadRecorded(inputs)) return;
    TakeControlTraffic(control, layout, nudge);
    if (xcb_connection_has_error(control) != 0) return;
    layout.Refresh();
    for (const RecordedInput& input : inputs) {
      if (const auto event = HookEventOf(input, layout.Current())) sink_(*event);
    }
    if (!inputs.empty()) nudge.AfterInput();
  } while (!WaitForTraffic(*session_, stop_));
}

}  // namespace ms1::inputhook

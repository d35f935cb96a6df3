#include "libs/inputhook/record_session.h"

#include <poll.h>
#include <xcb/xcbext.h>

#include <chrono>
#include <cstdlib>
#include <span>

namespace ms1::inputhook {
namespace {

// A server that does not confirm recording within this time is taken as
// unable to record; a working one answers in well under a millisecond.
constexpr std::chrono::milliseconds kStartLimit{5000};

// What a reply of the recorded stream carries (the RECORD protocol's
// categories; xcb names none of them).
enum Category : uint8_t { kFromServer = 0, kStartOfData = 4, kEndOfData = 5 };

xcb_connection_t* Connect() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection) == 0) return connection;
  xcb_disconnect(connection);
  return nullptr;
}

bool HasRecord(xcb_connection_t* connection) {
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_record_id);
  return extension != nullptr && extension->present != 0;
}

// Key presses through button releases: the core device events, no motion.
bool CreateContext(xcb_connection_t* control, xcb_record_context_t context) {
  xcb_record_range_t range{};
  range.device_events.first = XCB_KEY_PRESS;
  range.device_events.last = XCB_BUTTON_RELEASE;
  const xcb_record_client_spec_t every_client = XCB_RECORD_CS_ALL_CLIENTS;
  xcb_generic_error_t* error = xcb_request_check(
      control, xcb_record_create_context_checked(control, context, 0, 1, 1, &every_client, &range));
  const bool created = error == nullptr;
  std::free(error);
  return created;
}

struct StreamReply {
  explicit StreamReply(void* reply) : reply(static_cast<xcb_record_enable_context_reply_t*>(reply)) {}
  ~StreamReply() { std::free(reply); }
  StreamReply(const StreamReply&) = delete;
  StreamReply& operator=(const StreamReply&) = delete;
  std::span<const uint8_t> Data() const {
    return {xcb_record_enable_context_data(reply),
            static_cast<std::size_t>(xcb_record_enable_context_data_length(reply))};
  }
  xcb_record_enable_context_reply_t* reply;
};

}  // namespace

std::unique_ptr<RecordSession> RecordSession::Open() {
  xcb_connection_t* control = Connect();
  if (control == nullptr) return nullptr;
  xcb_connection_t* data = HasRecord(control) ? Connect() : nullptr;
  if (data == nullptr) {
    xcb_disconnect(control);
    return nullptr;
  }
  const xcb_record_context_t context = xcb_generate_id(control);
  if (!CreateContext(control, context)) {
    xcb_disconnect(data);
    xcb_disconnect(control);
    return nullptr;
  }
  std::unique_ptr<RecordSession> session(new RecordSession(control, data, context));
  if (!session->Enable()) return nullptr;
  return session;
}

RecordSession::RecordSession(xcb_connection_t* control, xcb_connection_t* data,
                             xcb_record_context_t context)
    : control_(control), data_(data), context_(context) {}

RecordSession::~RecordSession() {
  xcb_record_disable_context(control_, context_);
  xcb_record_free_context(control_, context_);
  xcb_flush(control_);
  xcb_disconnect(data_);
  xcb_disconnect(control_);
}

// The server answers the enabling request first with a start-of-data reply;
// from then on it records.
bool RecordSession::Enable() {
  stream_ = xcb_record_enable_context(data_, context_).sequence;
  xcb_flush(data_);
  const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
  for (;;) {
    void* reply = nullptr;
    xcb_generic_error_t* error = nullptr;
    if (xcb_poll_for_reply(data_, stream_, &reply, &error) != 0) {
      std::free(error);
      if (reply == nullptr) return false;
      const StreamReply started(reply);
      return started.reply->category == kStartOfData;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd data_fd{DataFd(), POLLIN, 0};
    ::poll(&data_fd, 1, static_cast<int>(left.count()));
  }
}

bool RecordSession::ReadRecorded(std::vector<RecordedInput>& inputs) {
  for (;;) {
    void* reply = nullptr;
    xcb_generic_error_t* error = nullptr;
    if (xcb_poll_for_reply(data_, stream_, &reply, &error) == 0) return true;
    std::free(error);
    if (reply == nullptr) return false;
    const StreamReply recorded(reply);
    switch (recorded.reply->category) {
      case kFromServer: {
        const std::vector<RecordedInput> events = InputEventsIn(recorded.Data());
        inputs.insert(inputs.end(), events.begin(), events.end());
        break;
      }
      case kEndOfData: return false;
      default: break;
    }
  }
}

}  // namespace ms1::inputhook

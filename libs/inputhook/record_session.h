// Recording of the X server's key and button events through the RECORD
// extension, over two connections: the control connection sets recording up
// (and is free for other requests), the data connection receives the stream.
#pragma once

#include <xcb/record.h>
#include <xcb/xcb.h>

#include <memory>
#include <vector>

#include "libs/inputhook/recorded_input.h"

namespace ms1::inputhook {

class RecordSession {
 public:
  // Connects to the display $DISPLAY names and returns once the server
  // records, so input it processes from then on is delivered. Null without a
  // display, without RECORD, or when the server refuses.
  static std::unique_ptr<RecordSession> Open();

  ~RecordSession();
  RecordSession(const RecordSession&) = delete;
  RecordSession& operator=(const RecordSession&) = delete;

  xcb_connection_t* Control() const { return control_; }
  int ControlFd() const { return xcb_get_file_descriptor(control_); }
  int DataFd() const { return xcb_get_file_descriptor(data_); }

  // Appends the key and button events that have arrived, without blocking.
  // False once the stream has ended or a connection has failed.
  bool ReadRecorded(std::vector<RecordedInput>& inputs);

 private:
  RecordSession(xcb_connection_t* control, xcb_connection_t* data, xcb_record_context_t context);
  bool Enable();

  xcb_connection_t* control_;
  xcb_connection_t* data_;
  xcb_record_context_t context_;
  unsigned int stream_ = 0;  // the sequence number of the enabling request
};

}  // namespace ms1::inputhook

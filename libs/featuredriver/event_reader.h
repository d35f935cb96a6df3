// The reader thread: waits for the mouse's input reports on its hidraw node
// and hands each event on. Ends on Stop() or when the device goes away.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "libs/featuredriver/event_report.h"
#include "libs/common/wake_event.h"

namespace ms1::hiddriver {

class EventReader {
 public:
  using OnEvent = std::function<void(DeviceEvent)>;

  ~EventReader() { Stop(); }
  // Opens the node for reading; false when it cannot be opened.
  bool Start(const std::string& device_node, OnEvent on_event);
  // Takes over an open descriptor that delivers one report per read.
  bool StartOnDescriptor(int fd, OnEvent on_event);
  void Stop();
  bool Running() const { return thread_.joinable(); }

 private:
  void Loop();

  int fd_ = -1;
  OnEvent on_event_;
  std::unique_ptr<WakeEvent> wake_;
  std::thread thread_;
};

}  // namespace ms1::hiddriver

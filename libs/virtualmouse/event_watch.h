// The library's own thread that carries the simulator's plug and data events
// of one link to the program's window. When the simulator goes away the link
// is reported removed; a simulator that comes back is followed again, as a
// real driver sees a device plugged in anew.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "libs/abi/ms1_feature_driver.h"
#include "libs/virtualmouse/sim_connection.h"
#include "model/protocol/link_ids.h"

namespace ms1::vmouse {

struct PostTarget {
  Ms1WindowHandle window{};
  uint32_t data_message = 0;
  uint32_t plug_message = 0;
};

class EventWatch {
 public:
  // Subscribes `connection` to the link's events; false when the simulator refused.
  bool Start(std::unique_ptr<LineConnection> connection, ConnectionMode link, PostTarget target);
  // Wakes the thread and joins it; nothing is posted once this returns.
  void Stop();
  ~EventWatch() { Stop(); }

 private:
  void Loop();
  // Reads events until the simulator goes away (true) or Stop (false).
  bool Follow();
  // Waits for a simulator to serve the folder again and subscribes to it;
  // false on Stop.
  bool AwaitSimulator();
  bool Resubscribe();
  // One event line from the simulator turned into a window message.
  void Dispatch(const std::string& line);

  std::unique_ptr<LineConnection> connection_;
  PostTarget target_;
  ConnectionMode link_ = ConnectionMode::kWired;
  std::string dir_;
  bool plugged_ = false;
  int wake_fd_ = -1;
  std::thread thread_;
};

}  // namespace ms1::vmouse

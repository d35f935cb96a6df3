// One connection to the system D-Bus and the thread that owns it. An sd-bus
// connection must not be used from two threads at once, so every call runs
// here, queued from the callers' threads; signals are dispatched here too.
// The thread sleeps in poll() until the bus or a caller wakes it.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "libs/common/wake_event.h"

struct sd_bus;

namespace ms1 {

class BusThread {
 public:
  using Work = std::function<void(sd_bus*)>;

  BusThread() = default;
  ~BusThread();
  BusThread(const BusThread&) = delete;
  BusThread& operator=(const BusThread&) = delete;

  // Connects to the system bus (DBUS_SYSTEM_BUS_ADDRESS, else the standard
  // socket) on the new thread and runs `setup` there first. False, with no
  // thread left running, when there is no bus to connect to.
  bool Start(Work setup);

  // Runs `work` on the bus thread and waits for it to end. False when it did
  // not run because the thread was stopped (or stops before its turn).
  bool Run(Work work);
  // Queues `work` for the bus thread, after what is queued already, and
  // returns at once; dropped when the thread stops first.
  void Post(Work work);

  // Ends the thread at once: a call in flight fails instead of waiting for its
  // answer, queued work is dropped and its waiters released. Any thread but
  // the bus thread; once or more.
  void Stop();

 private:
  struct Job {
    Work work;
    bool* done = nullptr;  // set under the mutex when a waiter waits for it
  };

  void Loop(sd_bus* bus);
  bool RunQueued(sd_bus* bus);

  std::mutex mutex_;
  std::condition_variable finished_;
  std::deque<Job> queue_;
  bool running_ = false;
  bool stopping_ = false;
  int bus_socket_ = -1;  // the connection's socket, while the thread may use it
  WakeEvent wake_;
  std::thread thread_;
};

}  // namespace ms1

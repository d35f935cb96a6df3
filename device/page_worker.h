// The page's worker thread: runs one apply per TM_APPLY, in arrival order,
// while a link is open; drops the request otherwise. Requests made while
// another waits unstarted merge into it.
#pragma once

#include <functional>
#include <mutex>
#include <thread>

#include "device/apply_engine.h"
#include "device/link_state.h"
#include "device/message_queue.h"
#include "device/messages.h"

namespace ms1 {

// Ends the worker's loop (the number of the system's quit message).
inline constexpr uint32_t kWorkerQuit = 0x0012;

class PageWorker {
 public:
  using Apply = std::function<ApplyOutcome()>;

  // `no_link` runs for each request dropped because no link was open.
  PageWorker(const LinkState& links, Apply apply, std::function<void()> no_link = {})
      : links_(links), apply_(std::move(apply)), no_link_(std::move(no_link)) {}
  ~PageWorker() { Stop(); }
  PageWorker(const PageWorker&) = delete;
  PageWorker& operator=(const PageWorker&) = delete;

  void Start();

  // Thread-safe. Messages posted after Stop() are not run; a TM_APPLY posted
  // while another TM_APPLY waits is dropped.
  void Post(uint32_t id);

  // Posts the quit message and waits without a time limit until the thread
  // has ended: an apply in progress, and requests queued before the quit,
  // run to their end first. Called by the owner's thread, once or more.
  void Stop();

  std::size_t QueuedMessages() const { return queue_.Size(); }

 private:
  void Run();

  const LinkState& links_;
  Apply apply_;
  std::function<void()> no_link_;
  MessageQueue queue_;
  std::mutex lifecycle_mutex_;
  std::thread thread_;
  bool stopped_ = false;
};

}  // namespace ms1

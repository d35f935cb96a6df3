// Writes the profile store off the interface thread as soon as an edit is
// made, so the edit is on disk before the mouse gets it (an apply over the
// receiver takes seconds) and whether or not it ever does.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "device/page_model.h"

namespace ms1 {

class StoreSaver {
 public:
  // Both must outlive the saver.
  StoreSaver(PageModel& model, ProfileStoreWriter& writer);
  // Finish().
  ~StoreSaver();
  StoreSaver(const StoreSaver&) = delete;
  StoreSaver& operator=(const StoreSaver&) = delete;

  // Any thread. A request made while another waits is served by that one;
  // the store is written only when it changed since the last save.
  void Request();

  // Ends the thread once a waiting request is served, then writes on the
  // calling thread whatever changed since: the last word at quit, after the
  // applies have ended. Once or more.
  void Finish();

 private:
  void Run();

  PageModel& model_;
  ProfileStoreWriter& writer_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool requested_ = false;
  bool finishing_ = false;
  std::thread thread_;
};

}  // namespace ms1

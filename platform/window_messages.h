// Messages posted to a window from any thread and timers by id, both delivered
// on the interface thread to one handler, in the order they were posted.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include "libs/abi/ms1_feature_driver.h"

class QSocketNotifier;
class QTimer;

namespace ms1 {

// Numbers the window system itself gives these messages.
namespace sysmsg {
inline constexpr uint32_t kTimer = 0x0113;           // wParam = timer id
inline constexpr uintptr_t kLeftButtonUp = 0x0202;   // tray callback lParam
inline constexpr uintptr_t kRightButtonUp = 0x0205;  // tray callback lParam
}  // namespace sysmsg

struct WindowMessage {
  uint32_t message = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
  QString text;                // the item name of a menu command; empty otherwise
  std::function<void()> work;  // set: run on the interface thread instead of a message
};

class WindowMessages : public QObject {
  Q_OBJECT
 public:
  // Returns whether the message was handled (only informative).
  using Handler = std::function<bool(const WindowMessage&)>;

  explicit WindowMessages(Handler handler, QObject* parent = nullptr);
  ~WindowMessages() override;

  // Thread-safe: queues the message for the interface thread.
  void Post(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0, QString text = {});

  // Thread-safe: queues `work` to run on the interface thread, in order with
  // the posted messages.
  void PostWork(std::function<void()> work);

  // Handles the message now (interface thread only).
  bool Send(const WindowMessage& message);

  // Called on the interface thread after each posted message or work item
  // was delivered: for whoever follows the state they change.
  void SetAfterDelivery(std::function<void()> after) { after_delivery_ = std::move(after); }

  // Window timers: each expiry delivers sysmsg::kTimer with wParam = id until
  // killed. Setting a running id restarts it with the new period.
  void SetTimer(int id, int msec);
  void KillTimer(int id);
  // Runs `work` once after `msec`, unless this object is gone by then
  // (interface thread only).
  void RunLater(int msec, std::function<void()> work);
  bool IsTimerActive(int id) const;
  int TimerInterval(int id) const;

  // The handle given to the driver libraries: posts through this object.
  Ms1WindowHandle Handle();

 private:
  static void PostFromLibrary(void* context, uint32_t message, uintptr_t wParam, intptr_t lParam);
  void DeliverPosted();
  void Wake();

  Handler handler_;
  std::function<void()> after_delivery_;
  // Posted messages wait here; an eventfd wakes the interface thread. Only
  // plain locking crosses threads, nothing of Qt's event queue.
  std::mutex queue_mutex_;
  std::deque<WindowMessage> queue_;
  int wake_fd_ = -1;
  QSocketNotifier* wake_notifier_ = nullptr;
  QHash<int, QTimer*> timers_;
};

}  // namespace ms1

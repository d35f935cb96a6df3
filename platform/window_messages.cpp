#include "platform/window_messages.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace ms1 {

WindowMessages::WindowMessages(Handler handler, QObject* parent)
    : QObject(parent),
      handler_(std::move(handler)),
      wake_fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (wake_fd_ < 0) {
    std::fprintf(stderr, "window messages: no eventfd: %s\n", std::strerror(errno));
    return;
  }
  wake_notifier_ = new QSocketNotifier(wake_fd_, QSocketNotifier::Read, this);
  connect(wake_notifier_, &QSocketNotifier::activated, this, &WindowMessages::DeliverPosted);
}

WindowMessages::~WindowMessages() {
  delete wake_notifier_;
  if (wake_fd_ >= 0) close(wake_fd_);
}

void WindowMessages::Post(uint32_t message, uintptr_t wParam, intptr_t lParam, QString text) {
  {
    const std::lock_guard lock(queue_mutex_);
    queue_.push_back({message, wParam, lParam, std::move(text), {}});
  }
  Wake();
}

void WindowMessages::PostWork(std::function<void()> work) {
  {
    const std::lock_guard lock(queue_mutex_);
    WindowMessage entry;
    entry.work = std::move(work);
    queue_.push_back(std::move(entry));
  }
  Wake();
}

void WindowMessages::Wake() {
  const uint64_t one = 1;
  if (wake_fd_ >= 0 && write(wake_fd_, &one, sizeof one) < 0 && errno != EAGAIN) {
    std::fprintf(stderr, "window messages: wake-up failed: %s\n", std::strerror(errno));
  }
}

void WindowMessages::DeliverPosted() {
  uint64_t count = 0;
  if (read(wake_fd_, &count, sizeof count) < 0 && errno != EAGAIN) return;
  // One at a time, in order. A handler may run a modal loop: the wake-up is
  // renewed while messages wait, so that loop delivers them, as Qt's own
  // event queue would.
  for (;;) {
    WindowMessage next;
    bool more = false;
    {
      const std::lock_guard lock(queue_mutex_);
      if (queue_.empty()) return;
      next = std::move(queue_.front());
      queue_.pop_front();
      more = !queue_.empty();
    }
    if (more) Wake();
    if (next.work) {
      next.work();
    } else {
      Send(next);
    }
    if (after_delivery_) after_delivery_();
  }
}

bool WindowMessages::Send(const WindowMessage& message) {
  return handler_ ? handler_(message) : false;
}

void WindowMessages::SetTimer(int id, int msec) {
  QTimer*& timer = timers_[id];
  if (timer == nullptr) {
    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this, id] {
      Send({sysmsg::kTimer, static_cast<uintptr_t>(id), 0, {}, {}});
    });
  }
  timer->start(msec);
}

void WindowMessages::RunLater(int msec, std::function<void()> work) {
  QTimer::singleShot(msec, this, std::move(work));
}

void WindowMessages::KillTimer(int id) {
  if (QTimer* timer = timers_.value(id)) timer->stop();
}

bool WindowMessages::IsTimerActive(int id) const {
  const QTimer* timer = timers_.value(id);
  return timer != nullptr && timer->isActive();
}

int WindowMessages::TimerInterval(int id) const {
  const QTimer* timer = timers_.value(id);
  return timer != nullptr ? timer->interval() : 0;
}

Ms1WindowHandle WindowMessages::Handle() {
  return {this, &WindowMessages::PostFromLibrary};
}

void WindowMessages::PostFromLibrary(void* context, uint32_t message, uintptr_t wParam,
                                     intptr_t lParam) {
  static_cast<WindowMessages*>(context)->Post(message, wParam, lParam);
}

}  // namespace ms1

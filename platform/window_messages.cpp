#include "platform/window_messages.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace ms1 {
namespace {

const QEvent::Type kMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class MessageEvent : public QEvent {
 public:
  explicit MessageEvent(WindowMessage message)
      : QEvent(kMessageEvent), message_(std::move(message)) {}
  const WindowMessage& message() const { return message_; }

 private:
  WindowMessage message_;
};

}  // namespace

WindowMessages::WindowMessages(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {}

void WindowMessages::Post(uint32_t message, uintptr_t wParam, intptr_t lParam, QString text) {
  QCoreApplication::postEvent(this, new MessageEvent({message, wParam, lParam, std::move(text)}));
}

bool WindowMessages::Send(const WindowMessage& message) {
  return handler_ ? handler_(message) : false;
}

bool WindowMessages::event(QEvent* event) {
  if (event->type() != kMessageEvent) return QObject::event(event);
  Send(static_cast<MessageEvent*>(event)->message());
  return true;
}

void WindowMessages::SetTimer(int id, int msec) {
  QTimer*& timer = timers_[id];
  if (timer == nullptr) {
    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this, id] {
      Send({sysmsg::kTimer, static_cast<uintptr_t>(id), 0, {}});
    });
  }
  timer->start(msec);
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

// Turns the Qt signals and events of a loaded form's named controls into
// Notification calls on one handler, and runs control timers ("timer").
// Blocking a control's signals (QSignalBlocker) silences its notifications,
// which is how "select without notification" is done.
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

#include "platform/notification.h"

class QTimer;

namespace ms1 {

class NotificationPump : public QObject {
  Q_OBJECT
 public:
  using Handler = std::function<void(const Notification&)>;

  explicit NotificationPump(Handler handler, QObject* parent = nullptr);

  // Hooks every named control below `root` (root included when named).
  void Attach(QWidget* root);
  // Hooks one control, e.g. one created after the form was loaded.
  void AttachControl(QWidget* control);

  // A control timer: raises "timer" from `control` with param `id` every
  // `msec` until killed. Setting a running id restarts it.
  void SetTimer(QWidget* control, int id, int msec);
  // The same for a timer that only animates its control: it rests while the
  // control cannot be seen and goes on when it is shown (PauseWhileUnseen).
  void SetAnimationTimer(QWidget* control, int id, int msec);
  void KillTimer(QWidget* control, int id);
  // Set and not killed; an animation timer also while it rests.
  bool IsTimerActive(QWidget* control, int id) const;
  // Counting now: false for an animation timer at rest.
  bool IsTimerRunning(QWidget* control, int id) const;

  void Send(const QString& type, QWidget* control, qint64 param = 0);

  // Stops delivering: the window is being destroyed, while Qt still sends its
  // controls focus and hide events.
  void Silence() { handler_ = nullptr; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct TimerKey {
    QWidget* control;
    int id;
    bool operator==(const TimerKey&) const = default;
  };
  friend size_t qHash(const TimerKey& key, size_t seed) {
    return qHashMulti(seed, key.control, key.id);
  }

  struct ControlTimer {
    QTimer* timer = nullptr;
    QPointer<QObject> pause;  // PauseWhileUnseen guard of an animation timer
  };

  void ConnectSignals(QWidget* control);
  ControlTimer& StartTimer(QWidget* control, int id, int msec);

  Handler handler_;
  QHash<TimerKey, ControlTimer> timers_;
};

}  // namespace ms1

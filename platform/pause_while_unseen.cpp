#include "platform/pause_while_unseen.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace ms1 {
namespace {

class UnseenPause final : public QObject {
 public:
  UnseenPause(QTimer& timer, QWidget& control) : QObject(&timer), timer_(timer) {
    control.installEventFilter(this);
    if (!IsSeen(control)) timer.stop();
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    // Qt sends these also when an ancestor is hidden or shown and when the
    // window is minimised or restored.
    if (event->type() == QEvent::Hide) {
      timer_.stop();
    } else if (event->type() == QEvent::Show) {
      timer_.start();
    }
    return false;
  }

 private:
  QTimer& timer_;  // its parent
};

}  // namespace

QObject* PauseWhileUnseen(QTimer& timer, QWidget& control) {
  return new UnseenPause(timer, control);
}

bool IsSeen(const QWidget& control) {
  return control.isVisible() && !control.window()->isMinimized();
}

}  // namespace ms1

#include "platform/wheel_needs_focus.h"

#include <QEvent>
#include <QWidget>

namespace ms1 {
namespace {

constexpr char kGateName[] = "ms1-wheel-focus-gate";

class WheelFocusGate final : public QObject {
 public:
  explicit WheelFocusGate(QWidget& control) : QObject(&control) {
    setObjectName(QLatin1String(kGateName));
    control.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Wheel || static_cast<QWidget*>(watched)->hasFocus()) {
      return false;
    }
    // Handled here but not accepted: Qt offers the wheel to the parents next.
    event->ignore();
    return true;
  }
};

}  // namespace

void RequireFocusForWheel(QWidget* control) {
  if (control == nullptr) return;
  const QString gate = QLatin1String(kGateName);
  if (control->findChild<QObject*>(gate, Qt::FindDirectChildrenOnly) != nullptr) return;
  if (control->focusPolicy() == Qt::WheelFocus) control->setFocusPolicy(Qt::StrongFocus);
  new WheelFocusGate(*control);
}

}  // namespace ms1

#include "platform/notification_pump.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

#include "platform/color_palette.h"
#include "platform/pause_while_unseen.h"

namespace ms1 {
namespace {

// An option is one of a group: exactly one is selected at a time.
bool IsOption(const QAbstractButton* button) {
  return qobject_cast<const QRadioButton*>(button) != nullptr ||
         (button->isCheckable() && (button->autoExclusive() || button->group() != nullptr));
}

}  // namespace

NotificationPump::NotificationPump(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {}

void NotificationPump::Attach(QWidget* root) {
  if (!root->objectName().isEmpty()) AttachControl(root);
  for (QWidget* child : root->findChildren<QWidget*>()) {
    if (!child->objectName().isEmpty() && !child->objectName().startsWith(u"qt_")) {
      AttachControl(child);
    }
  }
}

void NotificationPump::AttachControl(QWidget* control) {
  ConnectSignals(control);
  control->installEventFilter(this);
}

void NotificationPump::ConnectSignals(QWidget* control) {
  if (auto* check = qobject_cast<QCheckBox*>(control)) {
    connect(check, &QCheckBox::clicked, this,
            [this, check](bool checked) { Send(notify::kCheckClick, check, checked ? 1 : 0); });
  } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    connect(button, &QAbstractButton::clicked, this,
            [this, button] { Send(notify::kClick, button); });
    if (IsOption(button)) {
      connect(button, &QAbstractButton::toggled, this, [this, button](bool on) {
        if (on) Send(notify::kSelectChanged, button, 1);
      });
    }
  } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
    connect(combo, &QComboBox::currentIndexChanged, this,
            [this, combo](int index) { Send(notify::kItemSelect, combo, index); });
  } else if (auto* list = qobject_cast<QListWidget*>(control)) {
    connect(list, &QListWidget::currentRowChanged, this,
            [this, list](int row) { Send(notify::kItemSelect, list, row); });
  } else if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
    connect(slider, &QAbstractSlider::valueChanged, this,
            [this, slider](int value) { Send(notify::kValueChanged, slider, value); });
  } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    connect(edit, &QLineEdit::textChanged, this,
            [this, edit] { Send(notify::kTextChanged, edit); });
  } else if (auto* text = qobject_cast<QTextEdit*>(control)) {
    connect(text, &QTextEdit::textChanged, this,
            [this, text] { Send(notify::kTextChanged, text); });
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
    connect(plain, &QPlainTextEdit::textChanged, this,
            [this, plain] { Send(notify::kTextChanged, plain); });
  } else if (auto* palette = qobject_cast<ColorPalette*>(control)) {
    connect(palette, &ColorPalette::colorChanged, this, [this, palette](QRgb argb) {
      Send(notify::kColorChanged, palette, static_cast<qint64>(argb));
    });
  }
}

bool NotificationPump::eventFilter(QObject* watched, QEvent* event) {
  auto* control = qobject_cast<QWidget*>(watched);
  if (control == nullptr || control->signalsBlocked()) return false;
  switch (event->type()) {
    case QEvent::FocusIn:
      Send(notify::kSetFocus, control);
      break;
    case QEvent::FocusOut:
      Send(notify::kKillFocus, control);
      break;
    case QEvent::Enter:
      Send(notify::kMouseEnter, control);
      break;
    case QEvent::Leave:
      Send(notify::kMouseLeave, control);
      break;
    default:
      break;
  }
  return false;
}

NotificationPump::ControlTimer& NotificationPump::StartTimer(QWidget* control, int id, int msec) {
  ControlTimer& entry = timers_[TimerKey{control, id}];
  if (entry.timer == nullptr) {
    entry.timer = new QTimer(this);
    connect(entry.timer, &QTimer::timeout, this,
            [this, control, id] { Send(notify::kTimer, control, id); });
    // A destroyed control takes its timers with it.
    connect(control, &QObject::destroyed, entry.timer,
            [this, control, id] { KillTimer(control, id); });
  }
  entry.timer->start(msec);
  return entry;
}

void NotificationPump::SetTimer(QWidget* control, int id, int msec) {
  ControlTimer& entry = StartTimer(control, id, msec);
  delete entry.pause;
  entry.pause = nullptr;
}

void NotificationPump::SetAnimationTimer(QWidget* control, int id, int msec) {
  ControlTimer& entry = StartTimer(control, id, msec);
  delete entry.pause;
  entry.pause = PauseWhileUnseen(*entry.timer, *control);
}

void NotificationPump::KillTimer(QWidget* control, int id) {
  const ControlTimer entry = timers_.take(TimerKey{control, id});
  if (entry.timer == nullptr) return;
  // Not one more tick: deletion waits for the event loop.
  entry.timer->stop();
  delete entry.pause;
  entry.timer->deleteLater();
}

bool NotificationPump::IsTimerActive(QWidget* control, int id) const {
  return timers_.contains(TimerKey{control, id});
}

bool NotificationPump::IsTimerRunning(QWidget* control, int id) const {
  const ControlTimer entry = timers_.value(TimerKey{control, id});
  return entry.timer != nullptr && entry.timer->isActive();
}

void NotificationPump::Send(const QString& type, QWidget* control, qint64 param) {
  if (handler_) handler_(Notification{type, control->objectName(), param, control});
}

}  // namespace ms1

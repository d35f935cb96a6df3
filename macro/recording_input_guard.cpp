#include "macro/recording_input_guard.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

#include "keys/key_event_key.h"

namespace ms1 {
namespace {

bool IsKeyEvent(QEvent::Type type) {
  return type == QEvent::KeyPress || type == QEvent::KeyRelease ||
         type == QEvent::ShortcutOverride || type == QEvent::Shortcut;
}

bool IsClickEvent(QEvent::Type type) {
  return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
         type == QEvent::MouseButtonDblClick;
}

}  // namespace

RecordingInputGuard::RecordingInputGuard(QWidget* window, std::vector<QWidget*> clickable,
                                         KeySink keys)
    : window_(window), keys_(std::move(keys)) {
  for (QWidget* control : clickable) clickable_.emplace_back(control);
  qApp->installEventFilter(this);
}

bool RecordingInputGuard::IsClickable(const QWidget* target) const {
  for (const QPointer<QWidget>& control : clickable_) {
    if (control != nullptr && (control == target || control->isAncestorOf(target))) return true;
  }
  return false;
}

bool RecordingInputGuard::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  const bool key = IsKeyEvent(type);
  if (!key && !IsClickEvent(type)) return false;
  auto* target = qobject_cast<QWidget*>(watched);
  if (target == nullptr || window_ == nullptr || target->window() != window_) return false;
  if (!key && IsClickable(target)) return false;
  event->accept();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
    const auto* pressed = static_cast<QKeyEvent*>(event);
    const uint32_t virtual_key = VirtualKeyOfKeyEvent(*pressed);
    // A held key's repeats are dropped by the recorder anyway.
    if (virtual_key != 0 && !pressed->isAutoRepeat() && keys_) {
      keys_(virtual_key, type == QEvent::KeyRelease);
    }
  }
  return true;
}

}  // namespace ms1

#include "keys/one_key_capture.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

#include "keys/key_event_key.h"

namespace ms1 {

OneKeyCapture::OneKeyCapture(QWidget* field, Take take) : QObject(field), take_(std::move(take)) {
  field->installEventFilter(this);
}

bool OneKeyCapture::eventFilter(QObject*, QEvent* event) {
  switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::MouseButtonPress:
      capturing_ = true;
      return false;
    case QEvent::FocusOut:
      capturing_ = false;
      return false;
    case QEvent::ShortcutOverride:
      // No shortcut of the window may take a key meant for the field.
      if (capturing_) event->accept();
      return capturing_;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      break;
    default:
      return false;
  }
  if (!capturing_) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  // A held key repeats its press: still the one key.
  if (key->isAutoRepeat()) return true;
  const uint32_t virtual_key = VirtualKeyOfKeyEvent(*key);
  if (virtual_key != 0 && take_(virtual_key, event->type() == QEvent::KeyRelease)) {
    capturing_ = false;
  }
  return true;
}

}  // namespace ms1

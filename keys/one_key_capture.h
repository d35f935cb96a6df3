// A key field that takes one key, with the modifiers held for it, each time it
// gains the focus or is clicked, as the desktop's own shortcut editors do.
// Keys come from the field's own key events, which every platform delivers to
// the focused window (X11 and Wayland alike). Until the key is complete every
// key stays in the field, so Tab, Escape and Enter can be captured too; after
// it the field is like any other control: Tab leaves it, Escape and Enter
// reach the dialog.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

class QWidget;

namespace ms1 {

class OneKeyCapture final : public QObject {
 public:
  // Gets each press and release while a capture runs; returns true once the
  // key is complete, which ends the capture.
  using Take = std::function<bool(uint32_t virtual_key, bool released)>;

  // Owned by `field`.
  OneKeyCapture(QWidget* field, Take take);

  bool Capturing() const { return capturing_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Take take_;
  bool capturing_ = false;
};

}  // namespace ms1

// The keyboard-shortcut dialog: the user ticks the modifiers and presses the
// key itself while the key field has the focus, or types the whole
// combination there. The field takes one key (OneKeyCapture) each time it is
// focused or clicked, so Enter, Escape and Tab can be the shortcut key like
// any other, and afterwards leave the field or answer the dialog as usual.
// Result 1 = OK, 0 = cancel or close; the fields hold the user's choice only
// after 1, and OK needs a key.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "platform/skin_form.h"

namespace ms1 {

class CShortcutWnd : public SkinDialog {
 public:
  explicit CShortcutWnd(QWidget* owner = nullptr) : SkinDialog(owner) {}

  // Ctrl, Shift, Alt, Win in this order; non-zero = on.
  std::array<uint8_t, 4> modifier_flags{};
  // Key code of the shortcut key; 0 = none.
  uint8_t key_usage = 0;

  QString WindowClassName() const override { return QStringLiteral("ShortcutWnd"); }
  QString SkinFileName() const override { return QStringLiteral("shortcut.xml"); }

 protected:
  void InitWindow() override;
  void Notify(const Notification& n) override;
  void OnClick(const Notification& n) override;

 private:
  // One key event of a capture; true once the key is complete.
  bool CaptureKey(uint32_t virtual_key, bool released);
  void TakeHeldModifiers();
  void ShowKey();

  // Modifier keys pressed during this capture and still held (bits as in
  // modifier_flags).
  unsigned held_modifiers_ = 0;
};

}  // namespace ms1

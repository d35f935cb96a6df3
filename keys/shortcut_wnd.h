// The keyboard-shortcut dialog: the user ticks the modifiers and presses the
// key itself while the key field has the focus, or types the whole
// combination there. The key is taken from the input hook (not from the
// field's own key events), so Enter, Escape and Tab can be the shortcut key
// like any other. Result 1 = OK, 0 = cancel or close; the fields hold the
// user's choice only after 1.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "device/input_hook_table.h"
#include "platform/skin_form.h"

namespace ms1 {

class CShortcutWnd : public SkinDialog {
 public:
  explicit CShortcutWnd(QWidget* owner = nullptr) : SkinDialog(owner) {}
  // The window's end also ends key capture.
  ~CShortcutWnd() override;

  // Ctrl, Shift, Alt, Win in this order; non-zero = on.
  std::array<uint8_t, 4> modifier_flags{};
  // Key code of the shortcut key; 0 = none.
  uint8_t key_usage = 0;
  // The input hook's entry points; null (or null entries) when it is absent.
  const InputHookTable* hook = nullptr;

  QString WindowClassName() const override { return QStringLiteral("ShortcutWnd"); }
  QString SkinFileName() const override { return QStringLiteral("shortcut.xml"); }

 protected:
  void InitWindow() override;
  void Notify(const Notification& n) override;
  void OnClick(const Notification& n) override;
  bool HandleCustomMessage(const WindowMessage& m) override;

 private:
  void StartCapture();
  void EndCapture();
  void CaptureKey(uintptr_t virtual_key, intptr_t release);
  void TakeHeldModifiers();
  void ShowKey();
  void ShowCaptureProblem();

  // Modifier keys held in the key field (bits as in modifier_flags), and
  // whether another key was pressed while they were held: then releasing
  // them keeps that key.
  unsigned held_modifiers_ = 0;
  bool combined_ = false;
};

}  // namespace ms1

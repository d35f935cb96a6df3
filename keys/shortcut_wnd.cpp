#include "keys/shortcut_wnd.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "keys/key_names.h"
#include "keys/key_table.h"
#include "keys/key_trace.h"
#include "keys/one_key_capture.h"
#include "platform/language.h"
#include "platform/resource_text.h"

namespace ms1 {
namespace {

const QString kKeyField = QStringLiteral("edit_key");
const QString kOkButton = QStringLiteral("btn_ok");

QString FlagBoxName(int n) { return QStringLiteral("check_flag_%1").arg(n); }

// The modifier box (bit 0 Ctrl, 1 Shift, 2 Alt, 3 Win) of a left/right-specific
// modifier key; 0 for any other key.
unsigned ModifierBit(uint32_t virtual_key) {
  for (std::size_t i = 0; i < kModifierVirtualKeys.size(); ++i) {
    if (kModifierVirtualKeys[i] == virtual_key) return 1u << (i % 4);
  }
  return 0;
}

}  // namespace

void CShortcutWnd::InitWindow() {
  for (int n = 1; n <= 4; ++n) {
    if (auto* box = FindControl<QCheckBox>(FlagBoxName(n))) {
      box->setChecked(modifier_flags[n - 1] != 0);
    }
  }
  if (auto* field = FindControl<QLineEdit>(kKeyField)) {
    field->setReadOnly(true);
    field->setPlaceholderText(Lan().Text(QStringLiteral("shortcut_key_placeholder_text")));
    new OneKeyCapture(field, [this](uint32_t virtual_key, bool released) {
      return CaptureKey(virtual_key, released);
    });
  }
  ShowKey();
}

void CShortcutWnd::Notify(const Notification& n) {
  if (n.Is(notify::kClick)) {
    OnClick(n);
  } else if (n.Is(notify::kCheckClick)) {
    for (int i = 1; i <= 4; ++i) {
      if (n.From(FlagBoxName(i))) modifier_flags[i - 1] = n.param != 0 ? 1 : 0;
    }
  } else if (n.Is(notify::kSetFocus) && n.From(kKeyField)) {
    held_modifiers_ = 0;  // a capture starts
  }
}

void CShortcutWnd::OnClick(const Notification& n) {
  if (n.From(kOkButton)) {
    if (key_usage != 0) Close(1);  // modifiers alone are no shortcut
  } else if (n.From(QStringLiteral("btn_cancel")) || n.From(QStringLiteral("btn_exit"))) {
    Close(0);
  }
}

// A key pressed with modifiers held (Ctrl+Shift+C) is the key, and ticks
// exactly the modifiers held. A modifier pressed and released alone is the key
// itself. A release whose press came before the capture (the Shift of the
// Shift+Tab that moved the focus here) is no key.
bool CShortcutWnd::CaptureKey(uint32_t virtual_key, bool released) {
  TraceKey("%x,%x\n", virtual_key, released ? 1u : 0u);
  const unsigned modifier = ModifierBit(virtual_key);
  if (released && (modifier == 0 || (held_modifiers_ & modifier) == 0)) return false;
  const UsageLookup found = VirtualKeyToUsage(virtual_key);
  const uint32_t usage_id = found.found ? found.usage : 0;
  TraceKey("iUsageID=%d\n", static_cast<int>(usage_id));
  key_usage = static_cast<uint8_t>(usage_id & 0xFF);
  ShowKey();
  if (modifier != 0 && !released) {
    held_modifiers_ |= modifier;  // shown as the key until another comes
    return false;
  }
  if (modifier == 0 && held_modifiers_ != 0) TakeHeldModifiers();
  held_modifiers_ = 0;  // for the capture a click may start next
  return true;
}

void CShortcutWnd::TakeHeldModifiers() {
  for (int n = 1; n <= 4; ++n) {
    const bool held = (held_modifiers_ & (1u << (n - 1))) != 0;
    modifier_flags[n - 1] = held ? 1 : 0;
    if (auto* box = FindControl<QCheckBox>(FlagBoxName(n))) box->setChecked(held);
  }
}

void CShortcutWnd::ShowKey() {
  if (auto* field = FindControl<QLineEdit>(kKeyField)) field->setText(UsageDisplayName(key_usage));
  if (auto* ok = FindControl<QPushButton>(kOkButton)) ok->setEnabled(key_usage != 0);
}

}  // namespace ms1

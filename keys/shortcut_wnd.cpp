#include "keys/shortcut_wnd.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <cstdio>

#include "keys/key_names.h"
#include "keys/key_table.h"
#include "platform/dialog_keys.h"
#include "platform/input_capture.h"
#include "platform/language.h"
#include "platform/resource_text.h"

namespace ms1 {
namespace {

const QString kKeyField = QStringLiteral("edit_key");

QString FlagBoxName(int n) { return QStringLiteral("check_flag_%1").arg(n); }

// The modifier box (bit 0 Ctrl, 1 Shift, 2 Alt, 3 Win) of a left/right-specific
// modifier key; 0 for any other key.
unsigned ModifierBit(uintptr_t virtual_key) {
  for (std::size_t i = 0; i < kModifierVirtualKeys.size(); ++i) {
    if (kModifierVirtualKeys[i] == virtual_key) return 1u << (i % 4);
  }
  return 0;
}

}  // namespace

CShortcutWnd::~CShortcutWnd() { EndCapture(); }

void CShortcutWnd::InitWindow() {
  for (int n = 1; n <= 4; ++n) {
    if (auto* box = FindControl<QCheckBox>(FlagBoxName(n))) {
      box->setChecked(modifier_flags[n - 1] != 0);
    }
  }
  if (auto* field = FindControl<QLineEdit>(kKeyField)) {
    field->setReadOnly(true);
    field->setPlaceholderText(Lan().Text(QStringLiteral("shortcut_key_placeholder_text")));
    KeepDialogKeys(field);
  }
  ShowKey();
  ShowCaptureProblem();
}

void CShortcutWnd::Notify(const Notification& n) {
  if (n.Is(notify::kClick)) {
    OnClick(n);
  } else if (n.Is(notify::kCheckClick)) {
    for (int i = 1; i <= 4; ++i) {
      if (n.From(FlagBoxName(i))) modifier_flags[i - 1] = n.param != 0 ? 1 : 0;
    }
  } else if (n.Is(notify::kSetFocus) && n.From(kKeyField)) {
    StartCapture();
  } else if (n.Is(notify::kKillFocus) && n.From(kKeyField)) {
    EndCapture();
  }
}

void CShortcutWnd::OnClick(const Notification& n) {
  if (n.From(QStringLiteral("btn_ok"))) {
    Close(1);
  } else if (n.From(QStringLiteral("btn_cancel")) || n.From(QStringLiteral("btn_exit"))) {
    Close(0);
  }
}

bool CShortcutWnd::HandleCustomMessage(const WindowMessage& m) {
  if (m.message == MS1_HOOK_EVENT_MESSAGE) CaptureKey(m.wParam, m.lParam);
  return false;
}

void CShortcutWnd::StartCapture() {
  held_modifiers_ = 0;
  combined_ = false;
  if (hook == nullptr) return;
  if (hook->installhook != nullptr) hook->installhook(MessageHandle());
  if (hook->enablehook != nullptr) hook->enablehook(1);
}

void CShortcutWnd::EndCapture() {
  if (hook == nullptr) return;
  if (hook->removehook != nullptr) hook->removehook();
  if (hook->enablehook != nullptr) hook->enablehook(0);
}

// The last event decides the key, as for a key pressed alone, with one
// exception: a combination typed into the field (Ctrl+Shift+C) gives the key
// C and ticks the modifiers held, and releasing those modifiers afterwards
// does not turn one of them into the key. A modifier pressed and released
// alone is the key itself.
void CShortcutWnd::CaptureKey(uintptr_t virtual_key, intptr_t release) {
  std::fprintf(stderr, "%x,%x\n", static_cast<unsigned>(virtual_key),
               static_cast<unsigned>(release));
  const unsigned modifier = ModifierBit(virtual_key);
  if (modifier != 0) {
    if (release == 0) {
      held_modifiers_ |= modifier;
    } else {
      held_modifiers_ &= ~modifier;
    }
  }
  const bool keep_combination = modifier != 0 && combined_;
  if (held_modifiers_ == 0 && release != 0 && modifier != 0) combined_ = false;
  if (keep_combination) return;

  const UsageLookup found = VirtualKeyToUsage(static_cast<uint32_t>(virtual_key));
  const uint32_t usage_id = found.found ? found.usage : 0;
  std::fprintf(stderr, "iUsageID=%d\n", static_cast<int>(usage_id));
  key_usage = static_cast<uint8_t>(usage_id & 0xFF);
  if (modifier == 0 && release == 0 && held_modifiers_ != 0) TakeHeldModifiers();
  ShowKey();
}

void CShortcutWnd::TakeHeldModifiers() {
  combined_ = true;
  for (int n = 1; n <= 4; ++n) {
    const bool held = (held_modifiers_ & (1u << (n - 1))) != 0;
    modifier_flags[n - 1] = held ? 1 : 0;
    if (auto* box = FindControl<QCheckBox>(FlagBoxName(n))) box->setChecked(held);
  }
}

void CShortcutWnd::ShowKey() {
  if (auto* field = FindControl<QLineEdit>(kKeyField)) field->setText(UsageDisplayName(key_usage));
}

// Says why pressing a key in the field will show nothing, where that is known.
void CShortcutWnd::ShowCaptureProblem() {
  ShowInputCaptureNote(FindControl<QLabel>(QStringLiteral("shortcut_capture_note")),
                       CanCaptureKeys(hook));
}

}  // namespace ms1

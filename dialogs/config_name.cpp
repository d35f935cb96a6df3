#include "dialogs/config_name.h"

#include <QLineEdit>

#include "dialogs/msg_wnd.h"
#include "model/profile_commands.h"
#include "platform/language.h"
#include "platform/resource_text.h"

namespace ms1 {

QString ClipProfileName(const QString& text) {
  QString clipped = text.left(CMS_1_ConfigName::kMaxNameLength);
  if (!clipped.isEmpty() && clipped.back().isHighSurrogate()) clipped.chop(1);
  return clipped;
}

void CMS_1_ConfigName::InitWindow() {
  setWindowTitle(Lan().Text(title));
  if (QWidget* label = FindControl(QStringLiteral("title_string"))) SetControlText(label, title);
  if (auto* edit = FindControl<QLineEdit>(QStringLiteral("edit_name"))) {
    edit->setMaxLength(kMaxNameLength);
    edit->clear();
    edit->setFocus();
  }
}

void CMS_1_ConfigName::OnClick(const Notification& n) {
  if (n.From(QStringLiteral("btn_ok"))) {
    Confirm();
  } else if (n.From(QStringLiteral("btn_cancel")) || n.From(QStringLiteral("btn_exit"))) {
    Close(0);
  }
}

void CMS_1_ConfigName::Confirm() {
  const auto* edit = FindControl<QLineEdit>(QStringLiteral("edit_name"));
  const QString typed = edit != nullptr ? ClipProfileName(edit->text()) : QString();
  // Blank or holding control characters: nothing the list could show.
  if (!UsableProfileName(typed.toStdU16String())) {
    ShowMessageBox(this, QStringLiteral("warning_title_text"), QStringLiteral("warn_name_1_text"));
    return;
  }
  if (nameExists && nameExists(typed)) {
    ShowMessageBox(this, QStringLiteral("warning_title_text"), QStringLiteral("warn_name_2_text"));
    return;
  }
  name = typed;
  Close(1);
}

}  // namespace ms1

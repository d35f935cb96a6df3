#include "ui/msg_wnd.h"

#include "platform/language.h"
#include "platform/resource_text.h"

namespace ms1 {

void CMsgWnd::InitWindow() {
  setWindowTitle(Lan().Text(title));
  if (QWidget* label = FindControl(QStringLiteral("warning_title"))) SetControlText(label, title);
  if (QWidget* label = FindControl(QStringLiteral("warning"))) SetControlText(label, message);
  if (singleButton) {
    if (QWidget* cancel = FindControl(QStringLiteral("btn_cancel"))) cancel->hide();
  }
}

void CMsgWnd::Notify(const Notification& n) {
  if (!n.Is(notify::kClick)) return;
  if (n.From(QStringLiteral("btn_ok"))) {
    Close(1);
  } else if (n.From(QStringLiteral("btn_cancel"))) {
    Close(0);
  }
}

int ShowMessageBox(QWidget* owner, const QString& titleKey, const QString& messageKey,
                   bool singleButton) {
  CMsgWnd box(owner);
  box.title = titleKey;
  box.message = messageKey;
  box.singleButton = singleButton;
  box.Create();
  box.CenterWindow();
  return box.ShowModal();
}

}  // namespace ms1

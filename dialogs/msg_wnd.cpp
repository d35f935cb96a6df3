#include "dialogs/msg_wnd.h"

#include "platform/language.h"
#include "platform/resource_text.h"

namespace ms1 {

namespace {

// Replaces %1..%9 in one pass, so that an argument holding "%2" (a file name,
// say) is shown as it is.
QString FillArguments(const QString& text, const QStringList& args) {
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const int n = i + 1 < text.size() ? text[i + 1].digitValue() : -1;
    if (text[i] == u'%' && n >= 1 && n <= args.size()) {
      out += args[n - 1];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

void CMsgWnd::InitWindow() {
  setWindowTitle(Lan().Text(title));
  if (QWidget* label = FindControl(QStringLiteral("warning_title"))) SetControlText(label, title);
  if (QWidget* label = FindControl(QStringLiteral("warning"))) {
    if (messageArgs.isEmpty()) {
      SetControlText(label, message);
    } else {
      SetResourceText(label, false);
      SetControlText(label, FillArguments(Lan().Text(message), messageArgs));
    }
  }
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
                   bool singleButton, const QStringList& messageArgs) {
  CMsgWnd box(owner);
  box.title = titleKey;
  box.message = messageKey;
  box.messageArgs = messageArgs;
  box.singleButton = singleButton;
  box.Create();
  box.CenterWindow();
  return box.ShowModal();
}

namespace {
const QString kWarningTitle = QStringLiteral("warning_title_text");
}  // namespace

bool ConfirmWarning(QWidget* owner, const QString& textKey) {
  return ShowMessageBox(owner, kWarningTitle, textKey) == 1;
}

void ShowWarning(QWidget* owner, const QString& textKey, const QStringList& messageArgs) {
  ShowMessageBox(owner, kWarningTitle, textKey, true, messageArgs);
}

}  // namespace ms1
